// The Video and Audio tabs: device and compressor lists, and every option change that
// rebuilds the capture graph.
#include "app/form/form_main.h"
#include "app/form/time_texts.h"
#include "capture/recovery/recovery_notes.h"

namespace zelvio {

void TFormMain::EnumerateAudioDevices() {
  for (const std::string& name : pipeline_.EnumerateAudioDevices()) ComboBoxAudioDevices.AddItem(name);
}

void TFormMain::EnumerateVideoCompressors() {
  ComboBoxVideoCompressors.Clear();
  for (const std::string& name : pipeline_.EnumerateVideoCompressors())
    ComboBoxVideoCompressors.AddItem(name);
}

void TFormMain::ApplyAudioListing(const AudioListing& listing) {
  ListBoxAudioFormat.SetItems(listing.formats);
  ComboBoxInputLines.SetItems(listing.lines);
}

void TFormMain::ListAudioLinesAndFormats() {
  if (ComboBoxAudioDevices.ItemIndex() < 0) return;
  AudioListing listing;
  try {
    pipeline_.ListAudioLinesAndFormats(ComboBoxAudioDevices.ItemIndex(), listing);
  } catch (...) {
    // What was found before the failure stays visible, without a selected line.
    ApplyAudioListing(listing);
    throw;
  }
  ApplyAudioListing(listing);
  ComboBoxInputLines.SetItemIndex(listing.enabledLine);
}

void TFormMain::BuildCaptureGraph() {
  CaptureOptions options;
  options.audioEnabled = CheckBoxEnableAudio.Checked();
  options.audioDevice = ComboBoxAudioDevices.ItemIndex();
  options.compressor = ComboBoxVideoCompressors.ItemIndex();
  options.compressorName = ComboBoxVideoCompressors.Text();
  options.audioFormat = ListBoxAudioFormat.ItemIndex();
  options.inputLine = ComboBoxInputLines.ItemIndex();
  options.screencastPath = FreeScreencastPath();
  builtPath_ = options.screencastPath;
  pipeline_.BuildCaptureGraph(options);
}

// Names go to the second, and a second recording within it must not take the first one's
// file: it gets "_2" before the extension, the next "_3", and so on. A name is taken while
// its file or its recovery notes exist (notes alone mean an unfinished recording whose
// file is elsewhere for now).
std::string TFormMain::FreeScreencastPath() {
  constexpr int kMaxNumber = 999;
  const std::string dated = DatedFilePath(ScreencastFolder(), "Screencast_", clock_.Now(), "avi");
  std::string path = dated;
  for (int number = 2; number <= kMaxNumber; ++number) {
    if (!files_.FileExists(path) && !files_.FileExists(avi::RecoveryNotesPath(path))) break;
    path = NumberedFilePath(dated, number);
  }
  return path;
}

std::string TFormMain::ScreencastFolder() {
  std::string folder = EditOutputVideoPath.Text();
  return folder.empty() ? DefaultFolder(kDefaultVideoFolder) : folder;
}

void TFormMain::ComboBoxVideoCompressorsChange() { BuildCaptureGraph(); }

void TFormMain::ButtonConfigureVideoCompressorClick() {
  pipeline_.ShowCompressorDialog();
  BuildCaptureGraph();
}

void TFormMain::ComboBoxAudioDevicesChange() {
  ListAudioLinesAndFormats();
  BuildCaptureGraph();
}

void TFormMain::ComboBoxInputLinesChange() {
  BuildCaptureGraph();
  LabelInputLinesIndex.SetCaption(std::to_string(ComboBoxInputLines.ItemIndex()));
}

void TFormMain::ListBoxAudioFormatClick() {
  BuildCaptureGraph();
  LabelAudioFormatIndex.SetCaption(std::to_string(ListBoxAudioFormat.ItemIndex()));
}

void TFormMain::CheckBoxEnableAudioClick() {
  if (CheckBoxEnableAudio.Checked() && ComboBoxAudioDevices.Text().empty()) {
    // Unchecking runs this handler again for the unchecked state first.
    CheckBoxEnableAudio.SetChecked(false);
    boxes_.ShowMessage("Select an audio device.");
    return;
  }
  if (!ComboBoxAudioDevices.Text().empty()) BuildCaptureGraph();
  LabelIsAudioEnabled.SetCaption(CheckBoxEnableAudio.Checked() ? "-1" : "0");
}

}  // namespace zelvio
