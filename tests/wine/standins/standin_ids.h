// Class identifiers of the test-only stand-ins. The tee and the file writer take the
// platform's own identifiers, so a graph that asks for those gets ours in the test prefix.
#pragma once
#include <unknwn.h>
#include <uuids.h>

namespace standins {

// {8596E5F0-0DA5-11D0-BD21-00A0C911CE86}: the platform File Writer, not named by the SDK headers here.
static const CLSID CLSID_FileWriter = {
    0x8596e5f0, 0x0da5, 0x11d0, {0xbd, 0x21, 0x00, 0xa0, 0xc9, 0x11, 0xce, 0x86}};

// {8AC28C84-80EC-49BA-B4B9-DBB27B5BFA00}
static const CLSID CLSID_TestCodecDialog = {
    0x8ac28c84, 0x80ec, 0x49ba, {0xb4, 0xb9, 0xdb, 0xb2, 0x7b, 0x5b, 0xfa, 0x00}};
// {12A265F3-9422-4B8A-9EC5-7C30588A336B}
static const CLSID CLSID_TestCodecPlain = {
    0x12a265f3, 0x9422, 0x4b8a, {0x9e, 0xc5, 0x7c, 0x30, 0x58, 0x8a, 0x33, 0x6b}};
// {7E433E61-65DD-41D5-AD7E-AA78084D5082}
static const CLSID CLSID_TestAudio = {
    0x7e433e61, 0x65dd, 0x41d5, {0xad, 0x7e, 0xaa, 0x78, 0x08, 0x4d, 0x50, 0x82}};
// {A8B7B6F0-2A49-4934-A69C-2EFB6BF0A8CF}
static const CLSID CLSID_TestAudioNoMixer = {
    0xa8b7b6f0, 0x2a49, 0x4934, {0xa6, 0x9c, 0x2e, 0xfb, 0x6b, 0xf0, 0xa8, 0xcf}};

// While this named event is set, the test codecs hold every frame for kSlowCodecDelayMs
// before passing it on: a test makes the downstream slow for a stretch to drive a live
// source into falling behind. Nothing else ever creates it.
static const wchar_t kSlowCodecEventName[] = L"ZelvioTestCodecSlow";
static const unsigned kSlowCodecDelayMs = 100;

}  // namespace standins
