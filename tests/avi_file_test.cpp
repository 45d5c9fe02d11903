#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "capture/avi/avi_file.h"

namespace zelvio::avi {
namespace {

namespace fs = std::filesystem;

// The same rules for the file on disk and the one in memory: no access past the end,
// growth only by Resize, zeros in what Resize adds, offsets past 4 GB.
TEST(AviFile, BothFilesKeepAccessInsideTheFile) {
  fs::path dir = fs::temp_directory_path() / ("zelvio_avi_file_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path path = dir / "file.avi";
  std::ofstream(path, std::ios::binary) << "abcdef";
  const struct {
    const char* name;
    std::function<std::unique_ptr<AviFile>()> open;
  } cases[] = {
      {"disk", [&] { return std::make_unique<DiskFile>(path); }},
      {"memory",
       [] {
         return std::make_unique<MemoryFile>(Bytes{'a', 'b', 'c', 'd', 'e', 'f'});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto file = c.open();
    ASSERT_EQ(file->Size(), 6u);
    char buffer[8] = {};
    EXPECT_THROW(file->ReadAt(4, buffer, 3), FileIoError);
    EXPECT_THROW(file->WriteAt(5, "xy", 2), FileIoError);
    EXPECT_THROW(file->WriteAt(7, "", 0), FileIoError);
    file->WriteAt(4, "XY", 2);
    file->ReadAt(3, buffer, 3);
    EXPECT_EQ(std::string(buffer, 3), "dXY");

    const uint64_t far = (c.name == std::string("disk")) ? (5ull << 30) : 1000;  // sparse on disk
    file->Resize(far + 4);
    EXPECT_EQ(file->Size(), far + 4);
    file->WriteAt(far, "tail", 4);
    file->ReadAt(far - 2, buffer, 6);
    EXPECT_EQ(std::string(buffer, 6), std::string("\0\0tail", 6));
    file->Resize(3);
    EXPECT_EQ(file->Size(), 3u);
    EXPECT_THROW(file->ReadAt(2, buffer, 2), FileIoError);
    file->Flush();
  }
  EXPECT_EQ(fs::file_size(path), 3u);
  EXPECT_THROW(DiskFile(dir / "missing.avi"), FileIoError);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelvio::avi
