// Asks ffprobe and ffmpeg, when they are installed, what they read in a file: how many frames
// each stream decodes to, when each video packet plays, and what they complain about.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace avitest {

struct ProbedStream {
  std::string codecType;
  long long readFrames = -1;
  std::string sampleRate;
};

struct Probe {
  bool ran = false;
  std::string errors;  // anything ffprobe said on stderr
  std::vector<ProbedStream> streams;
};

inline bool FfprobeInstalled() { return std::system("ffprobe -version >/dev/null 2>&1") == 0; }

inline std::map<std::string, std::string> CompactFields(const std::string& line) {
  std::map<std::string, std::string> fields;
  size_t pos = 0;
  while (pos < line.size()) {
    size_t bar = line.find('|', pos);
    std::string item = line.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos);
    size_t eq = item.find('=');
    if (eq != std::string::npos) fields[item.substr(0, eq)] = item.substr(eq + 1);
    if (bar == std::string::npos) break;
    pos = bar + 1;
  }
  return fields;
}

// Counting frames decodes every one; for multi-GB files counting packets (one per chunk)
// proves the same index at a quarter of the time.
inline Probe RunFfprobe(const std::string& path, bool countPackets = false) {
  Probe probe;
  std::string errFile = path + ".ffprobe.err";
  std::string count = countPackets ? "-count_packets" : "-count_frames";
  std::string cmd =
      "ffprobe -v error " + count + " -show_streams -of compact '" + path + "' 2>'" + errFile + "'";
  FILE* out = popen(cmd.c_str(), "r");
  if (!out) return probe;
  probe.ran = true;
  std::string line;
  int c;
  while ((c = fgetc(out)) != EOF) {
    if (c != '\n') {
      line += char(c);
      continue;
    }
    auto f = CompactFields(line);
    line.clear();
    if (f.count("codec_type") == 0) continue;
    ProbedStream s{f["codec_type"], -1, f["sample_rate"]};
    std::string counted = f[countPackets ? "nb_read_packets" : "nb_read_frames"];
    if (!counted.empty() && counted != "N/A") s.readFrames = std::stoll(counted);
    probe.streams.push_back(s);
  }
  pclose(out);
  if (FILE* err = fopen(errFile.c_str(), "r")) {
    while ((c = fgetc(err)) != EOF) probe.errors += char(c);
    fclose(err);
  }
  std::remove(errFile.c_str());
  return probe;
}

inline bool FfmpegInstalled() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

struct ToolRun {
  bool ok = false;  // it ran and exited with 0
  std::string out, err;
};

// Runs a shell command; its stderr goes through a file beside `scratch`.
inline ToolRun RunTool(const std::string& command, const std::string& scratch) {
  ToolRun run;
  std::string errFile = scratch + ".err";
  FILE* out = popen((command + " 2>'" + errFile + "'").c_str(), "r");
  if (!out) return run;
  int c;
  while ((c = fgetc(out)) != EOF) run.out += char(c);
  run.ok = pclose(out) == 0;
  if (FILE* err = fopen(errFile.c_str(), "r")) {
    while ((c = fgetc(err)) != EOF) run.err += char(c);
    fclose(err);
  }
  std::remove(errFile.c_str());
  return run;
}

// The time of every video packet ffprobe reads, in frames (the stream's time base is the
// frame time), and whether it counts as a key frame.
struct PacketTime {
  long long pts = -1;
  bool key = false;
};
inline std::vector<PacketTime> VideoPacketTimes(const std::string& path, std::string& errors) {
  ToolRun run = RunTool(
      "ffprobe -v error -select_streams v:0 -show_entries packet=pts,flags -of compact '" + path + "'", path);
  errors = run.ok ? run.err : "ffprobe failed: " + run.err;
  std::vector<PacketTime> times;
  size_t pos = 0;
  while (pos < run.out.size()) {
    size_t end = run.out.find('\n', pos);
    auto f = CompactFields(run.out.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (f.count("pts")) times.push_back({std::stoll(f["pts"]), f["flags"].find('K') != std::string::npos});
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  return times;
}

}  // namespace avitest
