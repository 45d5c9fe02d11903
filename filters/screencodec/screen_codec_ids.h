// Identities of the screen codec: its class, the name the compressor list shows, and its
// output's subtype (the fourcc ZMBV in the standard FOURCC GUID pattern).
#pragma once
#include <unknwn.h>

// {3ED617EA-B30B-4508-85F1-F2FCF0C89217}
static const CLSID CLSID_ZelvioScreenCodec = {
    0x3ed617ea, 0xb30b, 0x4508, {0x85, 0xf1, 0xf2, 0xfc, 0xf0, 0xc8, 0x92, 0x17}};

// {56424D5A-0000-0010-8000-00AA00389B71}
static const GUID MEDIASUBTYPE_ZMBV = {
    0x56424d5a, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

constexpr unsigned long kZmbvFourCC = 0x56424D5AUL;  // 'Z' 'M' 'B' 'V'

#define ZELVIO_SCREEN_CODEC_NAME "Zelvio Screen Codec (lossless)"
