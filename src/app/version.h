// The program's version, read by the version resource and by the code that writes it into
// files. Plain defines only: the resource compiler reads this file too.
#pragma once

#define ZELVIO_VERSION_MAJOR 1
#define ZELVIO_VERSION_MINOR 1
#define ZELVIO_VERSION_TEXT "1.1"
