// Recovery notes: while a recording runs, a small file beside it keeps what a repair needs
// (the mux's input formats, the frame rate, the program version), because the mux writes
// the file's headers and index only when it stops. A crash, a power cut or a full disk
// leaves the notes behind, and with them a way to make the file playable.
#include <algorithm>
#include <optional>
#include <vector>

#include "app/form/form_main.h"
#include "app/form/recovery_texts.h"
#include "app/form/text_numbers.h"
#include "app/version.h"
#include "common/capture_rate.h"
#include "capture/recovery/recovery_notes.h"

namespace zelvio {

void TFormMain::WriteRecoveryNotes() {
  // A caption without a rate leaves the screen source at its own default.
  int framesPerSecond = IntegerOr(announcedFrameRate_, 0);
  if (framesPerSecond <= 0) framesPerSecond = pushsource::kDefaultFps;
  const std::vector<ConnectedMediaType> muxInputs = pipeline_.MuxInputTypes();
  // Without a connected input there is nothing a repair could describe.
  if (muxInputs.empty()) return;
  // The screencast folder is not created for a recording (its absence is reported when the
  // graph runs), so the notes do not create it either.
  const size_t separator = recordingPath_.find_last_of('\\');
  if (separator != std::string::npos && !files_.FolderExists(recordingPath_.substr(0, separator))) return;
  // A folder that refuses the notes does not stop the recording; it only loses the repair.
  const avi::RecoveryNotes notes =
      NotesForRecording(ZELVIO_VERSION_TEXT, processes_.CurrentProcess(), framesPerSecond, muxInputs);
  const std::string notesPath = avi::RecoveryNotesPath(recordingPath_);
  if (files_.ReplaceWholeFile(notesPath, avi::RecoveryNotesText(notes))) RememberRecording(notesPath);
}

// The list beside the program of the notes its recordings wrote: the screencast folder may
// change while the program runs (and the settings that name it are saved only at close), so
// the next start finds every unfinished recording through this list, wherever it went.
// One notes path a line; entries go at the next start once their notes are gone.
namespace {

constexpr const char* kRecordingListName = "recovery-list.txt";

// Windows compares file names without regard to letter case.
bool SamePath(const std::string& a, const std::string& b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void AddPath(std::vector<std::string>& paths, const std::string& path) {
  for (const std::string& known : paths) {
    if (SamePath(known, path)) return;
  }
  paths.push_back(path);
}

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

// Empty when the program's own folder is not known: the list must not land elsewhere.
std::string TFormMain::RecordingListPath() {
  const std::string folder = files_.ExecutableDirectory();
  return folder.empty() ? std::string() : folder + "\\" + kRecordingListName;
}

std::vector<std::string> TFormMain::ReadRecordingList() {
  std::vector<std::string> paths;
  std::string text;
  const std::string listPath = RecordingListPath();
  if (listPath.empty() || !files_.ReadWholeFile(listPath, text)) return paths;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!avi::RecordingPathForNotes(line).empty()) AddPath(paths, line);
    start = end + 1;
  }
  return paths;
}

void TFormMain::WriteRecordingList(const std::vector<std::string>& paths) {
  if (RecordingListPath().empty()) return;
  if (paths.empty()) {
    files_.RemoveFile(RecordingListPath());
    return;
  }
  std::string text;
  for (const std::string& path : paths) text += path + "\r\n";
  // A folder that cannot take the list leaves the screencast folder's own notes to be found.
  files_.ReplaceWholeFile(RecordingListPath(), text);
}

void TFormMain::RememberRecording(const std::string& notesPath) {
  std::vector<std::string> paths = ReadRecordingList();
  const size_t before = paths.size();
  AddPath(paths, notesPath);
  if (paths.size() != before) WriteRecordingList(paths);
}

void TFormMain::ForgetRecoveryNotes() {
  if (recordingPath_.empty()) return;
  const std::string notesPath = avi::RecoveryNotesPath(recordingPath_);
  if (!files_.FileExists(notesPath)) return;
  files_.RemoveFile(notesPath);
  std::vector<std::string> paths = ReadRecordingList();
  const size_t before = paths.size();
  paths.erase(std::remove_if(paths.begin(), paths.end(),
                             [&](const std::string& listed) { return SamePath(listed, notesPath); }),
              paths.end());
  if (paths.size() != before) WriteRecordingList(paths);
}

std::optional<avi::RepairResult> TFormMain::RepairStoppedRecording() {
  if (recordingPath_.empty()) return std::nullopt;
  const std::string notesPath = avi::RecoveryNotesPath(recordingPath_);
  std::string notes;
  if (!files_.ReadWholeFile(notesPath, notes)) return std::nullopt;
  avi::RepairResult report = pipeline_.RepairRecording(recordingPath_, notes);
  if (report.outcome == avi::RepairOutcome::Repaired ||
      report.outcome == avi::RepairOutcome::AlreadyComplete ||
      report.outcome == avi::RepairOutcome::NothingToRepair) {
    files_.RemoveFile(notesPath);
  }
  return report;
}

std::string TFormMain::RepairAfterFailure() {
  std::optional<avi::RepairResult> report = RepairStoppedRecording();
  return report ? RepairOutcomeText(*report) : std::string();
}

void TFormMain::RecoverUnfinishedRecordings() {
  const std::vector<std::string> listed = ReadRecordingList();
  std::vector<std::string> notesFiles = listed;
  const std::string folder = ScreencastFolder();
  for (const std::string& name : files_.ListFiles(folder, std::string(avi::kRecordingNotesEnding))) {
    AddPath(notesFiles, folder + "\\" + name);
  }
  // Listed notes that are gone belong to recordings that were finished or repaired.
  for (const std::string& notesPath : notesFiles) {
    if (files_.FileExists(notesPath)) RecoverRecording(notesPath);
  }
  // An entry stays while its notes do, or while its folder cannot be seen (a drive that is
  // not plugged in now may come back with an unfinished recording on it).
  std::vector<std::string> kept;
  for (const std::string& notesPath : listed) {
    if (files_.FileExists(notesPath) || !files_.FolderExists(FolderOf(notesPath))) kept.push_back(notesPath);
  }
  if (kept.size() != listed.size()) WriteRecordingList(kept);
}

void TFormMain::RecoverRecording(const std::string& notesPath) {
  const std::string aviPath = avi::RecordingPathForNotes(notesPath);
  std::string notes;
  avi::RepairResult report;
  if (!files_.ReadWholeFile(notesPath, notes)) {
    report.outcome = avi::RepairOutcome::IoError;
    report.reason = "its recovery notes could not be read";
  } else {
    // A recording of another copy of the program that still runs is not unfinished but
    // live: its file is being written and its notes are still needed.
    std::optional<ProcessIdentity> owner = RecoveryNotesOwner(notes);
    if (owner && processes_.ProcessRunning(*owner)) return;
    report = pipeline_.RepairRecording(aviPath, notes);
  }
  switch (report.outcome) {
    case avi::RepairOutcome::Repaired:
      files_.RemoveFile(notesPath);
      boxes_.ShowMessage(UnfinishedRecordingText(aviPath, report));
      break;
    case avi::RepairOutcome::AlreadyComplete:
      // The mux finished the file after all; only the notes were left over.
      files_.RemoveFile(notesPath);
      break;
    case avi::RepairOutcome::NothingToRepair:
      // No later start could do better: said once, and the notes go.
      files_.RemoveFile(notesPath);
      boxes_.ShowMessage(UnfinishedRecordingText(aviPath, report));
      break;
    case avi::RepairOutcome::InUse:
      // Held open by a recording (of a copy whose notes do not name it): left for later.
      break;
    case avi::RepairOutcome::Refused:
    case avi::RepairOutcome::IoError:
      boxes_.ShowError(UnfinishedRecordingText(aviPath, report));
      break;
  }
}

}  // namespace zelvio
