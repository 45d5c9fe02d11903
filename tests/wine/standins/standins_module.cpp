// Module entry points of the test-only stand-in filters.
#include <windows.h>

#include "audio_capture.h"
#include "avi_mux.h"
#include "file_writer.h"
#include "infinite_tee.h"
#include "kit/class_factory.h"
#include "pass_compressor.h"
#include "standin_ids.h"

namespace {

const zelvio::kit::FactoryEntry kFactories[] = {
    {&CLSID_InfTee, &standins::InfiniteTee::Create},
    {&standins::CLSID_FileWriter, &standins::FileWriter::Create},
    {&CLSID_AviDest, &standins::AviMux::Create},
    {&standins::CLSID_TestCodecDialog, &standins::PassCompressor::CreateWithDialog},
    {&standins::CLSID_TestCodecPlain, &standins::PassCompressor::CreatePlain},
    {&standins::CLSID_TestAudio, &standins::AudioCapture::CreateWithMixer},
    {&standins::CLSID_TestAudioNoMixer, &standins::AudioCapture::CreateWithoutMixer},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return zelvio::kit::GetClassObjectFromTable(kFactories, sizeof(kFactories) / sizeof(kFactories[0]), clsid,
                                              iid, out);
}

STDAPI DllCanUnloadNow() { return zelvio::kit::CanUnloadModule(); }
