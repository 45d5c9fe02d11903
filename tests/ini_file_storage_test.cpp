#include "settings/ini_file_storage.h"

#include <gtest/gtest.h>

#include <string>

#include "app/form/form_main.h"
#include "doubles/fake_code_page.h"
#include "doubles/fake_files.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"

namespace zelvio {
namespace {

const char kSettings[] = "D:\\Apps\\Zelvio\\settings.ini";

// ---- Where the file lives and when it is read ------------------------------------------------

TEST(IniFileStorageLocation, BesideTheExecutableNeverTheWorkingDirectory) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.PutFile("C:\\Users\\me\\Zelvio\\settings.ini", "[FormMain]\r\nFormVersion=7\r\n");
  IniFileStorage storage(disk, codePage);
  EXPECT_EQ(storage.FullFileName(), kSettings);
  EXPECT_FALSE(storage.ValueExists("FormMain\\FormVersion"));
  EXPECT_EQ(disk.log, (std::vector<std::string>{"read: D:\\Apps\\Zelvio\\settings.ini (missing)"}));
}

TEST(IniFileStorageLocation, NameWithoutExtensionGetsIni) {
  FakeFiles disk;
  FakeCodePage codePage;
  EXPECT_EQ(IniFileStorage(disk, codePage, "zelvio").FullFileName(), "D:\\Apps\\Zelvio\\zelvio.ini");
  EXPECT_EQ(IniFileStorage(disk, codePage, "zelvio.cfg").FullFileName(), "D:\\Apps\\Zelvio\\zelvio.cfg");
}

TEST(IniFileStorageLocation, DriveRootGetsNoSecondBackslash) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.executableDirectory = "E:\\";
  EXPECT_EQ(IniFileStorage(disk, codePage).FullFileName(), "E:\\settings.ini");
}

TEST(IniFileStorageLocation, ReadOnceAtConstructionWrittenOnlyByFlush) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.PutFile(kSettings, "[FormMain]\r\nA=1\r\n");
  IniFileStorage storage(disk, codePage);
  disk.PutFile(kSettings, "[FormMain]\r\nA=2\r\n");  // changed behind our back
  EXPECT_EQ(storage.ReadString("FormMain\\A", "none"), "1");
  storage.WriteString("FormMain\\A", "3");
  EXPECT_EQ(disk.FileContents(kSettings), "[FormMain]\r\nA=2\r\n");
  EXPECT_EQ(disk.Count("read:"), 1u);
  EXPECT_EQ(disk.Count("replace:"), 0u);

  storage.FlushSettingsFile();
  EXPECT_EQ(disk.FileContents(kSettings), "[FormMain]\r\nA=3\r\n\r\n");
}

// ---- Value access by path ----------------------------------------------------------------------

TEST(IniFileStorageValues, PathsIgnoreCaseAndRepeatedBackslashes) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.PutFile(kSettings, "[FormMain]\r\nShowCmd=1\r\nEmpty=\r\n");
  IniFileStorage storage(disk, codePage);
  EXPECT_TRUE(storage.ValueExists("formmain\\showcmd"));
  EXPECT_TRUE(storage.ValueExists("FormMain\\\\ShowCmd"));
  EXPECT_TRUE(storage.ValueExists("FormMain\\Empty"));
  EXPECT_FALSE(storage.ValueExists("FormMain\\Missing"));
  EXPECT_FALSE(storage.ValueExists("Other\\ShowCmd"));
  EXPECT_EQ(storage.ReadString("FORMMAIN\\SHOWCMD", "x"), "1");
  EXPECT_EQ(storage.ReadString("FormMain\\Empty", "x"), "");
  EXPECT_EQ(storage.ReadString("FormMain\\Missing", "x"), "x");
}

TEST(IniFileStorageValues, WritesUseTheFileEncodings) {
  FakeFiles disk;
  FakeCodePage codePage;
  IniFileStorage storage(disk, codePage);
  storage.WriteInteger("FormMain\\Number", -12);
  storage.WriteBoolean("FormMain\\Yes", true);
  storage.WriteBoolean("FormMain\\No", false);
  storage.WriteString("FormMain\\Text", "C:\\Out put");
  storage.WriteString("Other\\Key", "v");
  storage.FlushSettingsFile();
  EXPECT_EQ(
      disk.FileContents(kSettings),
      "[FormMain]\r\nNumber=-12\r\nYes=TRUE\r\nNo=FALSE\r\nText=C:\\Out put\r\n\r\n[Other]\r\nKey=v\r\n\r\n");
}

// ---- Read-only file and failed writes ----------------------------------------------------------

TEST(IniFileStorageWriting, ReadOnlyFileIsReadButNeverWritten) {
  FakeFiles disk;
  FakeCodePage codePage;
  const std::string original = "; mine\r\n[FormMain]\r\nA=1\r\n";
  disk.PutFile(kSettings, original, true);
  IniFileStorage storage(disk, codePage);
  EXPECT_TRUE(storage.ReadOnly());
  EXPECT_EQ(storage.ReadString("FormMain\\A", ""), "1");

  storage.WriteString("FormMain\\A", "2");
  storage.WriteInteger("FormMain\\B", 5);
  storage.WriteBoolean("FormMain\\C", true);
  EXPECT_EQ(storage.ReadString("FormMain\\A", ""), "1");
  EXPECT_FALSE(storage.ValueExists("FormMain\\B"));
  EXPECT_FALSE(storage.ValueExists("FormMain\\C"));

  storage.FlushSettingsFile();
  EXPECT_EQ(disk.Count("replace:"), 0u);
  EXPECT_EQ(disk.FileContents(kSettings), original);
}

// Only a file that is not there is a first run. One that is there but will not open
// (another program holds it without sharing, no read permission, too large) holds the
// user's options: the run goes on with the defaults and leaves the file alone, also
// through a whole session of changes.
TEST(IniFileStorageWriting, PresentButUnreadableFileIsNeverWritten) {
  struct Case {
    const char* what;
    bool present;
    bool unreadable;
    bool written;
  };
  const Case cases[] = {
      {"missing: first run, written at the end", false, false, true},
      {"present and readable: written at the end", true, false, true},
      {"present but unreadable: left alone", true, true, false},
  };
  const std::string original = "[FormMain]\r\nComboBoxFps_ItemIndex=1\r\nCheckBoxHideToTray_Checked=TRUE\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    if (c.present) {
      platform.PutFile(kSettings, original);
      platform.files[kSettings].unreadable = c.unreadable;
    }
    FakePipeline pipeline;
    {
      TFormMain form(platform.Services(), pipeline);
      form.FormCreate();
      form.Show();
      // Stored values load only from a file that could be read.
      EXPECT_EQ(form.ComboBoxFps.Text(), c.present && !c.unreadable ? "10" : "25");
      form.ComboBoxFps.SetItemIndex(4);
      form.CheckBoxEnableBg.SetChecked(true);
      form.CloseQuery();
      form.Destroy();
    }
    EXPECT_EQ(platform.Count("replace: "), c.written ? 1u : 0u);
    if (c.written) {
      EXPECT_NE(platform.FileContents(kSettings).find("ComboBoxFps_ItemIndex=4\r\n"), std::string::npos);
    } else {
      EXPECT_EQ(platform.FileContents(kSettings), original);
    }
    EXPECT_EQ(platform.Count("error: ") + platform.Count("message: "), 0u) << "no box either way";
  }
}

TEST(IniFileStorageWriting, UnreadableFileKeepsTheDocumentEmptyAndWritesNothing) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.PutFile(kSettings, "[FormMain]\r\nA=1\r\n");
  disk.files[kSettings].unreadable = true;
  IniFileStorage storage(disk, codePage);
  EXPECT_TRUE(storage.Unreadable());
  EXPECT_FALSE(storage.ReadOnly());
  EXPECT_FALSE(storage.ValueExists("FormMain\\A"));
  storage.WriteString("FormMain\\A", "2");
  EXPECT_FALSE(storage.ValueExists("FormMain\\A"));
  storage.FlushSettingsFile();
  EXPECT_EQ(disk.Count("replace:"), 0u);
}

TEST(IniFileStorageWriting, WritableFileIsNotReadOnly) {
  FakeFiles disk;
  FakeCodePage codePage;
  disk.PutFile(kSettings, "[FormMain]\r\n");
  EXPECT_FALSE(IniFileStorage(disk, codePage).ReadOnly());
}

TEST(IniFileStorageWriting, FailedReplaceIsSilentAndKeepsThePreviousFile) {
  FakePlatform platform;
  const std::string previous = "[FormMain]\r\nCheckBoxHideToTray_Checked=TRUE\r\n";
  platform.PutFile(kSettings, previous);
  platform.failingWrites.insert(kSettings);
  FakePipeline pipeline;
  {
    TFormMain form(platform.Services(), pipeline);
    form.FormCreate();
    form.Show();
    form.CheckBoxHideToTray.SetChecked(false);
    form.CloseQuery();
    form.Destroy();
  }
  EXPECT_EQ(platform.Entries("replace:"),
            (std::vector<std::string>{"replace: D:\\Apps\\Zelvio\\settings.ini (failed)"}));
  EXPECT_EQ(platform.FileContents(kSettings), previous);
  EXPECT_EQ(platform.Count("error:"), 0u);
}

}  // namespace
}  // namespace zelvio
