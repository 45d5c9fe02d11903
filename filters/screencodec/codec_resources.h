// Resource identifiers of the screen codec's module.
#pragma once

#define IDD_CODEC_SETTINGS 100
#define IDC_KEY_FRAME_SECONDS 1001
#define IDC_KEY_FRAME_SPIN 1002
#define IDC_EFFORT_FASTER 1003
#define IDC_EFFORT_SMALLER 1004
#define IDC_KEY_FRAME_RANGE 1005
