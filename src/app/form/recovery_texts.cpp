#include "app/form/recovery_texts.h"

#include <cstdio>

namespace zelvio {

namespace {

std::string WithoutTrailingStop(std::string text) {
  while (!text.empty() &&
         (text.back() == '.' || text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
    text.pop_back();
  }
  return text;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", seconds < 0 ? 0.0 : seconds);
  return text;
}

}  // namespace

std::string AbortReasonText(const RecordingAbort& abort, const std::string& platformText) {
  std::string words = WithoutTrailingStop(abort.explanation.empty() ? platformText : abort.explanation);
  if (abort.result == 0) return words;
  char code[24];
  std::snprintf(code, sizeof code, "($%X)", static_cast<unsigned>(static_cast<uint32_t>(abort.result)));
  return words.empty() ? std::string(code) : words + " " + code;
}

std::string RepairOutcomeText(const avi::RepairResult& report) {
  switch (report.outcome) {
    case avi::RepairOutcome::Repaired:
      return "The file was repaired and holds " + Seconds(report.seconds) + " seconds.";
    case avi::RepairOutcome::AlreadyComplete:
      return "The file is complete.";
    case avi::RepairOutcome::Refused:
      return "The file could not be repaired and was left as it is: " + WithoutTrailingStop(report.reason) +
             ".";
    case avi::RepairOutcome::IoError:
      return "The file could not be repaired: " + WithoutTrailingStop(report.reason) +
             ". The repair will be tried again at the next start.";
    case avi::RepairOutcome::NothingToRepair:
      return "There was nothing to repair: " + WithoutTrailingStop(report.reason) + ".";
    case avi::RepairOutcome::InUse:
      return "The file is in use by another program and was left as it is.";
  }
  return {};
}

std::string RecordingStoppedText(const std::string& aviPath, const std::string& reason,
                                 const std::string& repairOutcome) {
  std::string text = "The recording stopped because of an error.\nFile: " + aviPath +
                     "\nReason: " + WithoutTrailingStop(reason) + ".";
  if (!repairOutcome.empty()) text += "\n" + repairOutcome;
  return text;
}

std::string RecordingNotStartedText(const std::string& aviPath, const std::string& reason) {
  return "The recording could not start.\nFile: " + aviPath + "\nReason: " + WithoutTrailingStop(reason) + ".";
}

std::string UnfinishedRecordingText(const std::string& aviPath, const avi::RepairResult& report) {
  std::string text = "A recording was not finished when Zelvio last ended.\nFile: " + aviPath + "\n";
  switch (report.outcome) {
    case avi::RepairOutcome::Repaired:
      return text + "It was repaired and now holds " + Seconds(report.seconds) + " seconds.";
    case avi::RepairOutcome::AlreadyComplete:
      return text + "It is complete.";
    case avi::RepairOutcome::Refused:
      return text + "It could not be repaired: " + WithoutTrailingStop(report.reason) +
             ". The file was left as it is, with its recovery notes beside it.";
    case avi::RepairOutcome::IoError:
      return text + "It could not be repaired: " + WithoutTrailingStop(report.reason) +
             ". The repair will be tried again at the next start.";
    case avi::RepairOutcome::NothingToRepair:
      return text + "There is nothing to repair: " + WithoutTrailingStop(report.reason) +
             ". Its recovery notes were removed.";
    case avi::RepairOutcome::InUse:
      return text + "It is in use by another program.";
  }
  return text;
}

}  // namespace zelvio
