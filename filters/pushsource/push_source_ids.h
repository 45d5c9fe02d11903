// Identities of the screen source: its class, and a small statistics interface of our own
// that the benchmark and the Wine test read.
#pragma once
#include <unknwn.h>

// {570757C1-D2D8-42D1-BA0C-24E1BED3F62F}
static const CLSID CLSID_ZelvioPushSource = {
    0x570757c1, 0xd2d8, 0x42d1, {0xba, 0x0c, 0x24, 0xe1, 0xbe, 0xd3, 0xf6, 0x2f}};

// {73706455-4860-42B0-A528-E30A2348F3E3}
static const IID IID_IZelvioPushSourceStats = {
    0x73706455, 0x4860, 0x42b0, {0xa5, 0x28, 0xe3, 0x0a, 0x23, 0x48, 0xf3, 0xe3}};

// Counts since the last start from stopped: frames delivered downstream and frame slots given
// up because a grab fell behind.
struct IZelvioPushSourceStats : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCounts(LONGLONG* delivered, LONGLONG* skipped) = 0;
};
