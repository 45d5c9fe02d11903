// The settings restore and save over whole runs of the main window: the settings file goes
// in through the fake file system, the window starts, shows, closes and is torn down, and
// the file that comes out is read back.
#include "settings/form_storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/form_run.h"
#include "settings/ini_document.h"

namespace zelvio {
namespace {

// Lines joined the way the program writes them.
std::string Ini(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ReadGolden(const std::string& name) {
  std::ifstream in(std::string(ZELVIO_TEST_DATA) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts with the file, closes, and returns the file the run wrote.
std::string RunWith(FakePlatform& platform, const std::string& file) {
  platform.PutFile(platform.SettingsPath(), file);
  FormRun program(platform);
  program.Start();
  program.Close();
  return platform.FileContents(platform.SettingsPath());
}

// The first bytes of `text`, as many as `prefix` has, for a readable comparison.
std::string Head(const std::string& text, const std::string& prefix) { return text.substr(0, prefix.size()); }

size_t IndexOf(const std::vector<std::string>& log, const std::string& line) {
  return static_cast<size_t>(std::find(log.begin(), log.end(), line) - log.begin());
}

size_t IndexOfPrefix(const std::vector<std::string>& log, const std::string& prefix) {
  auto found =
      std::find_if(log.begin(), log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  return static_cast<size_t>(found - log.begin());
}

// ---- First run ---------------------------------------------------------------------------------

TEST(SettingsFirstRun, WritesEveryKeyInOrderWithTheUntouchedValues) {
  FakePlatform platform;  // 1920 x 1080, working directory C:\Users\me\Zelvio
  FormRun program(platform);
  program.Start();
  program.Close();

  const std::string golden = ReadGolden("first_run_settings.ini");
  ASSERT_FALSE(golden.empty()) << "golden file missing";
  EXPECT_EQ(platform.FileContents("D:\\Apps\\Zelvio\\settings.ini"), golden);
  EXPECT_FALSE(platform.HasFile("C:\\Users\\me\\Zelvio\\settings.ini"));
}

TEST(SettingsFirstRun, FileIsReadAtConstructionAndWrittenOnceAtTeardown) {
  FakePlatform platform;
  FormRun program(platform);
  EXPECT_EQ(platform.log, (std::vector<std::string>{"read: D:\\Apps\\Zelvio\\settings.ini (missing)"}));
  program.Start();
  program.form.CloseQuery();
  EXPECT_EQ(platform.Count("replace:"), 0u);
  program.form.Destroy();
  EXPECT_EQ(platform.Entries("replace:"),
            (std::vector<std::string>{"replace: D:\\Apps\\Zelvio\\settings.ini"}));
  EXPECT_EQ(platform.Count("read:"), 1u);
}

TEST(SettingsFirstRun, WithoutACloseRequestTheTeardownSaves) {
  FakePlatform platform;
  FormRun program(platform);
  program.Start();
  program.form.CheckBoxHideToTray.SetChecked(true);
  program.form.Destroy();
  EXPECT_EQ(program.Saved("CheckBoxHideToTray_Checked"), "TRUE");
  EXPECT_EQ(program.Saved("NormPos(1920x1080)"), "100,80,660,560");
}

TEST(SettingsFirstRun, NothingLoadsOrSavesWhileInactive) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "CheckBoxHideToTray_Checked=TRUE"}));
  FakePipeline pipeline;
  TFormMain form(platform.Services(), pipeline);
  FormStorage& storage = *form.Storage();
  storage.LoadWindowSettings();
  EXPECT_FALSE(storage.SettingsLoaded());
  EXPECT_FALSE(form.CheckBoxHideToTray.Checked());
  storage.SaveWindowSettings();
  EXPECT_FALSE(storage.SettingsSaved());
}

// Every stored property away from its default (as far as a radio group allows: one button
// per group is checked), through a load and the save after it: the file that comes out is
// the file that went in, and the controls showed the values in between.
TEST(SettingsRoundTrip, EveryStoredPropertyWithANonDefaultValue) {
  const std::string file = Ini({
                               "[FormMain]",
                               "FormVersion=0",
                               "ShowCmd=1",
                               "Flags=0",
                               "PixelsPerInch=96",
                               "MinMaxPos(1920x1080)=-1,-1,-1,-1",
                               "MinMaxPos=-1,-1,-1,-1",
                               "NormPos(1920x1080)=300,200,860,680",
                               "NormPos=300,200,860,680",
                               "RadioButtonDimFullscreen_Checked=FALSE",
                               "RadioButtonDimPreDefined_Checked=FALSE",
                               "RadioButtonDimCustom_Checked=TRUE",
                               "ComboBoxDimension_ItemIndex=7",
                               "TrackBarDimX_Position=1001",
                               "TrackBarDimY_Position=555",
                               "LabelDimYValue_Caption=555",
                               "LabelDimXValue_Caption=1001",
                               "RadioButtonPosTopLeft_Checked=FALSE",
                               "RadioButtonPosTopCenter_Checked=FALSE",
                               "RadioButtonPosTopRight_Checked=FALSE",
                               "RadioButtonPosCenterLeft_Checked=FALSE",
                               "RadioButtonPosCenter_Checked=FALSE",
                               "RadioButtonPosCenterRight_Checked=FALSE",
                               "RadioButtonPosBottomLeft_Checked=FALSE",
                               "RadioButtonPosBottomCenter_Checked=FALSE",
                               "RadioButtonPosBottomRight_Checked=FALSE",
                               "RadioButtonPosCustom_Checked=TRUE",
                               "TrackBarPosX_Position=333",
                               "TrackBarPosY_Position=222",
                               "LabelPosXValue_Caption=333",
                               "LabelPosYValue_Caption=222",
                               "ColorBoxBg_Selected=33023",
                               "CheckBoxEnableBg_Checked=TRUE",
                               "ComboBoxFps_ItemIndex=1",
                               "ComboBoxVideoCompressors_ItemIndex=1",
                               "ComboBoxAudioDevices_ItemIndex=1",
                               "LabelInputLinesIndex_Caption=1",
                               "LabelAudioFormatIndex_Caption=2",
                               "LabelIsAudioEnabled_Caption=-1",
                               "CheckBoxEnableCursor_Checked=FALSE",
                               "TrackBarCursorPriority_Position=3",
                               "ComboBoxVKPause_ItemIndex=1",
                               "ComboBoxVKSnapshot_ItemIndex=2",
                               "ComboBoxVKStart_ItemIndex=3",
                               "ComboBoxVKStop_ItemIndex=4",
                               "ComboBoxVKToggleBg_ItemIndex=1",
                               "ComboBoxKeyPause_ItemIndex=0",
                               "ComboBoxKeySnapshot_ItemIndex=1",
                               "ComboBoxKeyStart_ItemIndex=2",
                               "ComboBoxKeyStop_ItemIndex=6",
                               "ComboBoxKeyToggleBg_ItemIndex=7",
                               "CheckBoxHideToTray_Checked=TRUE",
                               "EditOutputVideoPath_Text=E:\\Casts",
                               "EditOutputScreenshotsPath_Text=E:\\Shots",
                               "CheckBoxEnableCaptureTransparency_Checked=TRUE",
                               "SpinEditTransparencyClock_Enabled=FALSE",
                               "SpinEditTransparencyClock_Value=300",
                           }) +
                           "\r\n";
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), file);
  FormRun program(platform);
  program.pipeline.compressors = {"Microsoft Video 1", "Cinepak Codec by Radius"};
  program.pipeline.audioDevices = {"Microphone", "Line In"};
  program.pipeline.listings[1] =
      AudioListing{{"PCM 8000 Hz", "PCM 11025 Hz", "PCM 22050 Hz"}, {"Line", "Aux"}, 0};
  TFormMain& f = program.Start();

  EXPECT_TRUE(f.RadioButtonDimCustom.Checked());
  EXPECT_FALSE(f.RadioButtonDimPreDefined.Checked());
  EXPECT_EQ(f.ComboBoxDimension.ItemIndex(), 7);
  EXPECT_EQ(f.TrackBarDimX.Position(), 1001);
  EXPECT_EQ(f.TrackBarDimY.Position(), 555);
  EXPECT_TRUE(f.RadioButtonPosCustom.Checked());
  EXPECT_FALSE(f.RadioButtonPosCenter.Checked());
  EXPECT_EQ(f.TrackBarPosX.Position(), 333);
  EXPECT_EQ(f.TrackBarPosY.Position(), 222);
  EXPECT_EQ(platform.Entries("copydata: Create").back(), "copydata: Create$1001$555$333$222$-1$FF8000");
  EXPECT_EQ(f.ColorBoxBg.Selected(), 33023u);
  EXPECT_TRUE(f.CheckBoxEnableBg.Checked());
  EXPECT_EQ(f.ComboBoxFps.ItemIndex(), 1);
  EXPECT_EQ(f.ComboBoxVideoCompressors.ItemIndex(), 1);
  EXPECT_EQ(f.ComboBoxAudioDevices.ItemIndex(), 1);
  EXPECT_EQ(f.ComboBoxInputLines.ItemIndex(), 1);
  EXPECT_EQ(f.ListBoxAudioFormat.ItemIndex(), 2);
  EXPECT_TRUE(f.CheckBoxEnableAudio.Checked());
  EXPECT_FALSE(f.CheckBoxEnableCursor.Checked());
  EXPECT_EQ(f.TrackBarCursorPriority.Position(), 3);
  const std::pair<ComboBox*, int> lists[] = {
      {&f.ComboBoxVKPause, 1},     {&f.ComboBoxVKSnapshot, 2}, {&f.ComboBoxVKStart, 3},
      {&f.ComboBoxVKStop, 4},      {&f.ComboBoxVKToggleBg, 1}, {&f.ComboBoxKeyPause, 0},
      {&f.ComboBoxKeySnapshot, 1}, {&f.ComboBoxKeyStart, 2},   {&f.ComboBoxKeyStop, 6},
      {&f.ComboBoxKeyToggleBg, 7},
  };
  for (const auto& [list, index] : lists) EXPECT_EQ(list->ItemIndex(), index) << list->Name();
  EXPECT_TRUE(f.CheckBoxHideToTray.Checked());
  EXPECT_EQ(f.EditOutputVideoPath.Text(), "E:\\Casts");
  EXPECT_EQ(f.EditOutputScreenshotsPath.Text(), "E:\\Shots");
  EXPECT_TRUE(f.CheckBoxEnableCaptureTransparency.Checked());
  EXPECT_FALSE(f.SpinEditTransparencyClock.Enabled());
  EXPECT_EQ(f.SpinEditTransparencyClock.Value(), 300);

  program.Close();
  EXPECT_EQ(platform.FileContents(platform.SettingsPath()), file);
}

// ---- Text encodings of the file --------------------------------------------------------------
// The fake machine's ANSI code page is Latin-1; the program's texts are UTF-8.

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// A file as the program writes it, with the two folders given as the file's own bytes.
std::string FileWithFolders(FakePlatform& platform, const std::string& videos, const std::string& shots) {
  FakePlatform scratch;
  std::string file = RunWith(scratch, "");
  auto replace = [&file](const std::string& name, const std::string& value) {
    size_t at = file.find(name + "=");
    size_t end = file.find("\r\n", at);
    file.replace(at, end - at, name + "=" + value);
  };
  replace("EditOutputVideoPath_Text", videos);
  replace("EditOutputScreenshotsPath_Text", shots);
  platform.PutFile(platform.SettingsPath(), file);
  return file;
}

TEST(SettingsEncoding, AnsiFileLoadsItsAccentsAndIsWrittenBackByteForByte) {
  FakePlatform platform;
  // "Vidéos" and "Clichés" as an English Windows writes them: one byte, E9, for "é".
  const std::string file = FileWithFolders(platform, "D:\\Vid\xE9os", "D:\\Clich\xE9s") +
                           "[Autre]\r\nCl\xE9=\xC0 bient\xF4t\r\n\r\n";
  platform.PutFile(platform.SettingsPath(), file);
  FormRun program(platform);
  TFormMain& f = program.Start();
  EXPECT_EQ(f.EditOutputVideoPath.Text(), "D:\\Vidéos");
  EXPECT_EQ(f.EditOutputScreenshotsPath.Text(), "D:\\Clichés");
  program.Close();
  EXPECT_EQ(platform.FileContents(platform.SettingsPath()), file);
}

TEST(SettingsEncoding, FolderTheAnsiCodePageCannotSpellSurvivesARestart) {
  const std::string videos = "D:\\Zélvio_Запись_录像\\Output\\Screencasts";
  const std::string shots = "D:\\Запись\\Снимки";
  FakePlatform platform;
  {
    FormRun program(platform);
    TFormMain& f = program.Start();
    f.EditOutputVideoPath.SetText(videos);
    f.EditOutputScreenshotsPath.SetText(shots);
    f.CheckBoxHideToTray.SetChecked(true);
    program.Close();
  }
  const std::string saved = platform.FileContents(platform.SettingsPath());
  EXPECT_EQ(Head(saved, kUtf8Mark + "[FormMain]\r\n"), kUtf8Mark + "[FormMain]\r\n")
      << "UTF-8, marked as such";
  EXPECT_NE(saved.find("\r\nEditOutputVideoPath_Text=" + videos + "\r\n"), std::string::npos);
  {
    FormRun program(platform);
    TFormMain& f = program.Start();
    EXPECT_EQ(f.EditOutputVideoPath.Text(), videos);
    EXPECT_EQ(f.EditOutputScreenshotsPath.Text(), shots);
    EXPECT_TRUE(f.CheckBoxHideToTray.Checked()) << "the other options load from the same file";
    // Back to folders the code page can spell: the file goes back to its ANSI form.
    f.EditOutputVideoPath.SetText("D:\\Vidéos");
    f.EditOutputScreenshotsPath.SetText("D:\\Shots");
    program.Close();
  }
  const std::string ansi = platform.FileContents(platform.SettingsPath());
  EXPECT_EQ(Head(ansi, "[FormMain]\r\n"), "[FormMain]\r\n");
  EXPECT_NE(ansi.find("\r\nEditOutputVideoPath_Text=D:\\Vid\xE9os\r\n"), std::string::npos);
}

// On a 120-DPI machine the file says 120, and the next start there restores the window.
TEST(SettingsWindowKeys, SavedAndRestoredAtTheMachinesPixelsPerInch) {
  FakePlatform platform;
  platform.pixelsPerInch = 120;
  {
    FormRun program(platform);
    program.Start();
    platform.placement.normal = {300, 200, 860, 680};
    program.Close();
    EXPECT_EQ(program.Saved("PixelsPerInch"), "120");
  }
  platform.placement = FakePlatform::DefaultPlacement();
  platform.log.clear();
  FormRun program(platform);
  program.Start();
  EXPECT_EQ(
      platform.Entries("set placement:"),
      (std::vector<std::string>{"set placement: show=0 flags=0 min=-1,-1 max=-1,-1 normal=300,200,860,680"}));
}

// ---- Reading the file --------------------------------------------------------------------------

TEST(SettingsReading, SectionAndNameIgnoreCaseAndBlanks) {
  FakePlatform platform;
  std::string saved = RunWith(platform, Ini({"[formmain]", "  radiobuttondimfullscreen_checked =  yes "}));
  EXPECT_EQ(platform.Entries("copydata: Create").back(), "copydata: Create$1920$1080$0$0$0$0000FF");
  // The section keeps the file's spelling, the replaced line takes the writer's.
  const std::string head =
      "[formmain]\r\nRadioButtonDimFullscreen_Checked=TRUE\r\nFormVersion=0\r\nShowCmd=1\r\n";
  EXPECT_EQ(Head(saved, head), head);
}

TEST(SettingsReading, BooleanWordsAndNumbers) {
  // The tray box is unchecked by design, so only a true value shows.
  for (const char* text : {"Y", "1", "2", "true", "Yes"}) {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(),
                     Ini({"[FormMain]", std::string("CheckBoxHideToTray_Checked=") + text}));
    FormRun program(platform);
    EXPECT_TRUE(program.Start().CheckBoxHideToTray.Checked()) << text;
  }
  // The cursor box is checked by design, so only a false value shows.
  for (const char* text : {"n", "0", "", "FALSE", "no"}) {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(),
                     Ini({"[FormMain]", std::string("CheckBoxEnableCursor_Checked=") + text}));
    FormRun program(platform);
    EXPECT_FALSE(program.Start().CheckBoxEnableCursor.Checked()) << text;
  }
}

TEST(SettingsReading, UnreadableValuesKeepTheDesignStateAndTheRestLoads) {
  FakePlatform platform;
  platform.PutFile(
      platform.SettingsPath(),
      Ini({"[FormMain]", "CheckBoxHideToTray_Checked=maybe", "CheckBoxEnableCursor_Checked=maybe",
           "ComboBoxFps_ItemIndex=12a", "ColorBoxBg_Selected=clNotAColour", "CheckBoxEnableBg_Checked=TRUE",
           "TrackBarCursorPriority_Position=x", "ComboBoxKeyStart_ItemIndex=2"}));
  FormRun program(platform);
  TFormMain& form = program.Start();
  EXPECT_FALSE(form.CheckBoxHideToTray.Checked());
  EXPECT_TRUE(form.CheckBoxEnableCursor.Checked());
  EXPECT_EQ(form.ComboBoxFps.ItemIndex(), 3);
  EXPECT_EQ(form.ColorBoxBg.Selected(), 0xFF0000u);
  EXPECT_EQ(form.TrackBarCursorPriority.Position(), 1);
  EXPECT_TRUE(form.CheckBoxEnableBg.Checked());
  EXPECT_EQ(form.ComboBoxKeyStart.ItemIndex(), 2);
  EXPECT_EQ(platform.Count("error:"), 0u);
}

TEST(SettingsReading, ColourNamesAndCustomColours) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "ColorBoxBg_Selected=clred"}));
  {
    FormRun program(platform);
    TFormMain& form = program.Start();
    EXPECT_EQ(form.ColorBoxBg.Selected(), 0x0000FFu);
    EXPECT_EQ(form.ColorBoxBg.Entries()[static_cast<size_t>(form.ColorBoxBg.ItemIndex())].name, "Red");
    program.Close();
    EXPECT_EQ(program.Saved("ColorBoxBg_Selected"), "clRed");
  }
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "ColorBoxBg_Selected=33023"}));
  {
    FormRun program(platform);
    TFormMain& form = program.Start();
    EXPECT_EQ(form.ColorBoxBg.Selected(), 33023u);  // orange: red FF, green 80
    EXPECT_EQ(form.ColorBoxBg.ItemIndex(), 0);      // shown as the custom-colour entry
    program.Close();
    EXPECT_EQ(program.Saved("ColorBoxBg_Selected"), "33023");
  }
}

TEST(SettingsReading, UnknownSectionsAndNamesSurviveCommentsDoNot) {
  FakePlatform platform;
  std::string saved =
      RunWith(platform, Ini({"orphan=1", "; written by hand", "[Other]", "Key = Value", "", "[FormMain]",
                             "; inside", "UnknownName=42", "NoEquals", "CheckBoxHideToTray_Checked=TRUE"}));
  const std::string head =
      "[Other]\r\nKey=Value\r\n\r\n[FormMain]\r\nUnknownName=42\r\nNoEquals\r\n"
      "CheckBoxHideToTray_Checked=TRUE\r\nFormVersion=0\r\n";
  EXPECT_EQ(Head(saved, head), head);
  EXPECT_EQ(saved.find(';'), std::string::npos);
  EXPECT_EQ(saved.find("orphan"), std::string::npos);
}

TEST(SettingsReading, DuplicateNameIsReadAndRewrittenAtItsLaterLine) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(),
                   Ini({"[FormMain]", "ComboBoxFps_ItemIndex=1", "CheckBoxHideToTray_Checked=TRUE",
                        "ComboBoxFps_ItemIndex=2"}));
  FormRun program(platform);
  program.Start();
  EXPECT_EQ(platform.Count("copydata: ChangeFormCaption$FormMainCapturer@20"), 1u);
  program.form.ComboBoxFps.SetItemIndex(4);
  program.Close();
  std::string saved = platform.FileContents(platform.SettingsPath());
  const std::string head =
      "[FormMain]\r\nComboBoxFps_ItemIndex=1\r\nCheckBoxHideToTray_Checked=TRUE\r\nComboBoxFps_ItemIndex="
      "4\r\n"
      "FormVersion=0\r\n";
  EXPECT_EQ(Head(saved, head), head);
}

// ---- Restore order -------------------------------------------------------------------------------

TEST(SettingsRestoreOrder, CustomSizeWidensTheTrackBarsBeforeTheirPositionsArrive) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "RadioButtonDimCustom_Checked=TRUE",
                                                 "TrackBarDimX_Position=800", "TrackBarDimY_Position=700"}));
  FormRun program(platform);
  TFormMain& form = program.Start();
  EXPECT_EQ(form.TrackBarDimX.Position(), 800);
  EXPECT_EQ(form.TrackBarDimY.Position(), 700);
  EXPECT_EQ(platform.Entries("copydata: Create").back(), "copydata: Create$800$700$560$190$0$0000FF");
  program.Close();
  EXPECT_EQ(program.Saved("TrackBarDimX_Position"), "800");
}

TEST(SettingsRestoreOrder, WithoutCustomSizeTrackBarsKeepTheirDesignRange) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "TrackBarDimX_Position=800",
                                                 "TrackBarPosX_Position=-5", "TrackBarPosY_Position=11"}));
  FormRun program(platform);
  TFormMain& form = program.Start();
  EXPECT_EQ(form.TrackBarDimX.Position(), 10);
  EXPECT_EQ(form.TrackBarPosX.Position(), 0);
  EXPECT_EQ(form.TrackBarPosY.Position(), 10);
}

TEST(SettingsRestoreOrder, SpinEditValueIsPulledIntoRange) {
  for (auto [stored, loaded] : {std::pair{"50", 100}, std::pair{"9999", 5000}, std::pair{"250", 250}}) {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(),
                     Ini({"[FormMain]", std::string("SpinEditTransparencyClock_Value=") + stored}));
    FormRun program(platform);
    EXPECT_EQ(program.Start().SpinEditTransparencyClock.Value(), loaded) << stored;
    program.Close();
    EXPECT_EQ(program.Saved("SpinEditTransparencyClock_Value"), std::to_string(loaded));
  }
}

TEST(SettingsRestoreOrder, LaterCheckedRadioButtonWins) {
  FakePlatform platform;
  platform.PutFile(
      platform.SettingsPath(),
      Ini({"[FormMain]", "RadioButtonDimFullscreen_Checked=TRUE", "RadioButtonDimCustom_Checked=TRUE",
           "RadioButtonPosTopLeft_Checked=TRUE", "RadioButtonPosBottomRight_Checked=TRUE"}));
  FormRun program(platform);
  TFormMain& form = program.Start();
  EXPECT_FALSE(form.RadioButtonDimFullscreen.Checked());
  EXPECT_FALSE(form.RadioButtonDimPreDefined.Checked());
  EXPECT_TRUE(form.RadioButtonDimCustom.Checked());
  EXPECT_FALSE(form.RadioButtonPosTopLeft.Checked());
  EXPECT_FALSE(form.RadioButtonPosCenter.Checked());
  EXPECT_TRUE(form.RadioButtonPosBottomRight.Checked());
}

TEST(SettingsRestoreOrder, NoRadioButtonStoredTrueLeavesTheGroupUnchecked) {
  FakePlatform platform;
  std::string file = Ini({"[FormMain]"});
  for (const char* name : {"TopLeft", "TopCenter", "TopRight", "CenterLeft", "Center", "CenterRight",
                           "BottomLeft", "BottomCenter", "BottomRight", "Custom"}) {
    file += std::string("RadioButtonPos") + name + "_Checked=FALSE\r\n";
  }
  platform.PutFile(platform.SettingsPath(), file);
  FormRun program(platform);
  TFormMain& form = program.Start();
  for (Control* child : form.GroupBoxPosition.Children()) {
    auto* radio = dynamic_cast<RadioButton*>(child);
    if (radio) {
      EXPECT_FALSE(radio->Checked()) << radio->Name();
    }
  }
  program.Close();
  EXPECT_EQ(program.Saved("RadioButtonPosCenter_Checked"), "FALSE");
}

TEST(SettingsRestoreOrder, FrameRatePositionEmptyOrOutsideTheList) {
  {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "ComboBoxFps_ItemIndex="}));
    FormRun program(platform);
    EXPECT_EQ(program.Start().ComboBoxFps.ItemIndex(), 0);
    EXPECT_EQ(platform.Entries("copydata: ChangeFormCaption"),
              (std::vector<std::string>{"copydata: ChangeFormCaption$FormMainCapturer@5"}));
  }
  {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "ComboBoxFps_ItemIndex=9"}));
    FormRun program(platform);
    EXPECT_EQ(program.Start().ComboBoxFps.ItemIndex(), -1);
    EXPECT_EQ(platform.Entries("copydata: ChangeFormCaption"),
              (std::vector<std::string>{"copydata: ChangeFormCaption$FormMainCapturer@"}));
    EXPECT_EQ(platform.Count("message: FPS changed"), 0u);  // a stored position runs no handler
    program.Close();
    EXPECT_EQ(program.Saved("ComboBoxFps_ItemIndex"), "-1");
  }
}

TEST(SettingsRestoreOrder, StoredPropertiesRunTheControlsHandlersBeforeTheShowSteps) {
  FakePlatform platform;
  platform.PutFile(
      platform.SettingsPath(),
      Ini({"[FormMain]", "CheckBoxEnableCursor_Checked=FALSE", "TrackBarCursorPriority_Position=3",
           "CheckBoxEnableCaptureTransparency_Checked=TRUE", "SpinEditTransparencyClock_Enabled=FALSE",
           "SpinEditTransparencyClock_Value=300", "EditOutputVideoPath_Text=E:\\Casts"}));
  platform.hookWindow = true;
  FormRun program(platform);
  TFormMain& form = program.Start();
  // Unchecking the cursor box closed the hook window during the load, before the hotkeys.
  EXPECT_LT(IndexOf(platform.log, "close: hook"), IndexOfPrefix(platform.log, "register:"));
  EXPECT_TRUE(form.TrackBarCursorPriority.Enabled());
  EXPECT_EQ(form.TrackBarCursorPriority.Position(), 3);
  EXPECT_TRUE(form.TimerTransparencyCapture.Enabled());
  // The click handler started the timer at 1000 while the period was not loaded yet; start-up
  // then hands it the stored period.
  EXPECT_EQ(form.TimerTransparencyCapture.Interval(), 300u);
  EXPECT_FALSE(form.SpinEditTransparencyClock.Enabled());
  EXPECT_EQ(form.SpinEditTransparencyClock.Value(), 300);
  EXPECT_EQ(form.EditOutputVideoPath.Text(), "E:\\Casts");
}

// ---- Window keys ---------------------------------------------------------------------------------

TEST(SettingsWindowKeys, ScreenSizeSuffixKeepsOnePositionPerScreen) {
  FakePlatform platform;
  platform.screen = {1280, 1024};
  platform.placement.normal = {10, 20, 570, 500};
  RunWith(platform, "");

  platform.screen = {1920, 1080};
  {
    FormRun program(platform);
    program.Start();
    platform.placement.normal = {300, 200, 860, 680};  // the user moves the window
    program.Close();
    EXPECT_EQ(program.Saved("NormPos(1280x1024)"), "10,20,570,500");
    EXPECT_EQ(program.Saved("NormPos(1920x1080)"), "300,200,860,680");
    EXPECT_EQ(program.Saved("NormPos"), "300,200,860,680");
    EXPECT_EQ(program.Saved("MinMaxPos(1280x1024)"), "-1,-1,-1,-1");
    EXPECT_EQ(program.Saved("MinMaxPos(1920x1080)"), "-1,-1,-1,-1");
  }

  platform.screen = {1280, 1024};
  platform.log.clear();
  {
    FormRun program(platform);
    program.Start();
    EXPECT_EQ(
        platform.Entries("set placement:"),
        (std::vector<std::string>{"set placement: show=0 flags=0 min=-1,-1 max=-1,-1 normal=10,20,570,500"}));
  }
  platform.screen = {1600, 900};  // never seen: the plain keys hold the latest position
  platform.log.clear();
  {
    FormRun program(platform);
    program.Start();
    EXPECT_EQ(platform.Entries("set placement:"),
              (std::vector<std::string>{
                  "set placement: show=0 flags=0 min=-1,-1 max=-1,-1 normal=300,200,860,680"}));
  }
}

TEST(SettingsWindowKeys, PositionWordsAndTheFixedWindowSize) {
  FakePlatform platform;  // the window is 560 x 480 at 100,80
  platform.PutFile(platform.SettingsPath(),
                   Ini({"[FormMain]", "MinMaxPos= 5 ,x", "NormPos=  300 ,, 200 9999 9999", "Flags=2"}));
  FormRun program(platform);
  program.Start();
  EXPECT_EQ(
      platform.Entries("set placement:"),
      (std::vector<std::string>{"set placement: show=0 flags=0 min=5,0 max=0,0 normal=300,200,860,680"}));
}

TEST(SettingsWindowKeys, UnreadablePositionWordsKeepTheCurrentPlace) {
  FakePlatform platform;
  platform.mainWindowVisible = true;  // a visible window keeps its show state
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "NormPos=abc,250"}));
  FormRun program(platform);
  program.Start();
  EXPECT_EQ(
      platform.Entries("set placement:"),
      (std::vector<std::string>{"set placement: show=1 flags=0 min=-1,-1 max=-1,-1 normal=100,250,660,730"}));
}

TEST(SettingsWindowKeys, OtherPixelsPerInchIgnoresThePositionButLoadsTheOptions) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "PixelsPerInch=120", "NormPos=300,200,860,680",
                                                 "CheckBoxHideToTray_Checked=TRUE"}));
  FormRun program(platform);
  EXPECT_TRUE(program.Start().CheckBoxHideToTray.Checked());
  EXPECT_EQ(platform.Count("set placement:"), 0u);
  program.Close();
  EXPECT_EQ(program.Saved("PixelsPerInch"), "96");
  EXPECT_EQ(program.Saved("NormPos"), "100,80,660,560");
}

TEST(SettingsWindowKeys, ShowCmdMapsToNormalMaximisedOrAPostedMinimise) {
  struct Case {
    const char* stored;
    std::vector<std::string> expected;
  };
  const std::vector<std::string> normal = {"window state: normal"};
  const std::vector<std::string> minimise = {"window state: normal", "post minimize"};
  const Case cases[] = {{"1", normal},
                        {"5", normal},
                        {"9", normal},
                        {"0", normal},
                        {"4", normal},
                        {"8", normal},
                        {"-3", normal},
                        {"2", minimise},
                        {"6", minimise},
                        {"7", minimise},
                        {"3", {"window state: maximized"}}};
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", std::string("ShowCmd=") + c.stored}));
    FormRun program(platform);
    program.Start();
    EXPECT_EQ(platform.Entries({"window state:", "post minimize"}), c.expected) << c.stored;
  }
}

TEST(SettingsWindowKeys, ClosedWhileMinimisedStartsMinimised) {
  FakePlatform platform;
  {
    FormRun program(platform);
    program.Start();
    platform.minimized = true;
    program.Close();
    EXPECT_EQ(program.Saved("ShowCmd"), "2");
  }
  platform.minimized = false;
  platform.log.clear();
  FormRun program(platform);
  program.Start();
  // The minimise is posted during the load and so runs once start-up has finished.
  EXPECT_EQ(platform.Count("post minimize"), 1u);
  EXPECT_LT(IndexOf(platform.log, "post minimize"), IndexOfPrefix(platform.log, "register:"));
}

TEST(SettingsWindowKeys, VersionBelowZeroLoadsNothingSilentlyAndSavesAsUsual) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), Ini({"[FormMain]", "FormVersion=-1", "NormPos=300,200,860,680",
                                                 "CheckBoxHideToTray_Checked=TRUE"}));
  FormRun program(platform);
  EXPECT_FALSE(program.Start().CheckBoxHideToTray.Checked());
  EXPECT_EQ(platform.Count("set placement:"), 0u);
  EXPECT_EQ(platform.Count("window state:"), 0u);
  EXPECT_EQ(platform.Count("error:"), 0u);
  EXPECT_TRUE(program.form.Storage()->SettingsLoaded());
  program.Close();
  EXPECT_EQ(program.Saved("FormVersion"), "0");
  EXPECT_EQ(program.Saved("CheckBoxHideToTray_Checked"), "FALSE");
  EXPECT_EQ(program.Saved("NormPos"), "100,80,660,560");
}

// ---- Faulty window keys: the load stops, the close writes only FormVersion ------------------------

struct FaultyKeyCase {
  std::string line;
  std::string error;
  bool placementApplied;
};

void PrintTo(const FaultyKeyCase& c, std::ostream* out) { *out << c.line; }

class SettingsFaultyWindowKey : public testing::TestWithParam<FaultyKeyCase> {};

TEST_P(SettingsFaultyWindowKey, LoadStopsWithTheMessageAndTheFileKeepsTheOptions) {
  const FaultyKeyCase& c = GetParam();
  FakePlatform platform;
  const std::string file = Ini({"[FormMain]", "NormPos=300,200,860,680", c.line,
                                "CheckBoxHideToTray_Checked=TRUE", "ComboBoxFps_ItemIndex=1"});
  platform.PutFile(platform.SettingsPath(), file);
  FormRun program(platform);
  TFormMain& form = program.Start();

  EXPECT_EQ(platform.Entries("error:"), (std::vector<std::string>{"error: " + c.error}));
  EXPECT_EQ(platform.Count("set placement:"), c.placementApplied ? 1u : 0u);
  EXPECT_EQ(platform.Count("window state:"), 0u);
  EXPECT_FALSE(form.CheckBoxHideToTray.Checked());
  EXPECT_FALSE(form.Storage()->SettingsLoaded());
  // The show steps still run, after the error box.
  EXPECT_LT(IndexOfPrefix(platform.log, "error:"), IndexOfPrefix(platform.log, "register: 1"));
  EXPECT_EQ(platform.Count("copydata: ChangeFormCaption$FormMainCapturer@25"), 1u);

  form.CheckBoxEnableBg.SetChecked(true);  // a change of this run is not saved
  program.Close();
  std::string expected = file;
  if (c.line.rfind("FormVersion=", 0) == 0) {
    expected.replace(expected.find(c.line), c.line.size(), "FormVersion=0");
  } else {
    expected += "FormVersion=0\r\n";
  }
  EXPECT_EQ(platform.FileContents(platform.SettingsPath()), expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    EachKey, SettingsFaultyWindowKey,
    testing::Values(FaultyKeyCase{"FormVersion=abc", "'abc' is not a valid integer value.", false},
                    FaultyKeyCase{"Flags=x1", "'x1' is not a valid integer value.", false},
                    FaultyKeyCase{"PixelsPerInch=96dpi", "'96dpi' is not a valid integer value.", false},
                    FaultyKeyCase{"ShowCmd=max", "'max' is not a valid integer value.", true}),
    [](const testing::TestParamInfo<FaultyKeyCase>& info) {
      return info.param.line.substr(0, info.param.line.find('='));
    });

TEST(SettingsFaultyWindowKeys, FaultyVersionIsMendedForTheNextRun) {
  FakePlatform platform;
  RunWith(platform, Ini({"[FormMain]", "FormVersion=1.0", "CheckBoxHideToTray_Checked=TRUE"}));
  platform.log.clear();
  FormRun program(platform);
  EXPECT_TRUE(program.Start().CheckBoxHideToTray.Checked());
  EXPECT_EQ(platform.Count("error:"), 0u);
}

TEST(SettingsFaultyWindowKeys, FaultyFlagsReturnsAtEveryStart) {
  FakePlatform platform;
  RunWith(platform, Ini({"[FormMain]", "Flags=?", "CheckBoxHideToTray_Checked=TRUE"}));
  platform.log.clear();
  FormRun program(platform);
  EXPECT_FALSE(program.Start().CheckBoxHideToTray.Checked());
  EXPECT_EQ(platform.Entries("error:"),
            (std::vector<std::string>{"error: '?' is not a valid integer value."}));
}

TEST(SettingsFaultyWindowKeys, PixelsPerInchIsOnlyReadWhenAPositionExists) {
  FakePlatform platform;
  platform.PutFile(platform.SettingsPath(),
                   Ini({"[FormMain]", "PixelsPerInch=lots", "CheckBoxHideToTray_Checked=TRUE"}));
  FormRun program(platform);
  EXPECT_TRUE(program.Start().CheckBoxHideToTray.Checked());
  EXPECT_EQ(platform.Count("error:"), 0u);
  program.Close();
  EXPECT_EQ(program.Saved("PixelsPerInch"), "96");
}

// ---- Read-only file ------------------------------------------------------------------------------

TEST(SettingsReadOnlyFile, OptionsLoadAndTheFileIsLeftUntouched) {
  FakePlatform platform;
  const std::string file = Ini({"; keep me", "[FormMain]", "CheckBoxHideToTray_Checked=TRUE"});
  platform.PutFile(platform.SettingsPath(), file, true);
  FormRun program(platform);
  TFormMain& form = program.Start();
  EXPECT_TRUE(form.CheckBoxHideToTray.Checked());
  form.CheckBoxHideToTray.SetChecked(false);
  program.Close();
  EXPECT_EQ(platform.Count("replace:"), 0u);
  EXPECT_EQ(platform.FileContents(platform.SettingsPath()), file);
}

}  // namespace
}  // namespace zelvio
