// Snapshots: the region inside the overlay's frame into a dated bitmap, the button's flash,
// the chosen folder, and what the user is told when no picture can be taken.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recorder.h"

namespace zelvio {
namespace {

TEST_F(Recorder, SnapshotFlashesCopiesTheFrameInsideAndRestoresTheImage) {
  std::vector<int> images;
  machine.whileSavingBitmap = [&] { images.push_back(form.JvImgBtnSnapshot.ImageIndex()); };
  machine.overlayRect = {520, 292, 1400, 788};
  form.JvImgBtnSnapshot.Click();
  EXPECT_EQ(machine.Entries({"copydata: ", "save bitmap: ", "process messages", "sleep: "}),
            (std::vector<std::string>{
                "copydata: ChangeFormColor$FFFF00$100",
                "save bitmap: 528,300,1392,780 -> "
                "C:\\Users\\me\\Zelvio\\Output\\Screenshots\\Screenshot_2024-05-17-14-03-09.bmp",
                "process messages", "sleep: 50"}));
  EXPECT_EQ(images, std::vector<int>{4}) << "the button shows the taking-a-picture image meanwhile";
  EXPECT_EQ(form.JvImgBtnSnapshot.ImageIndex(), 3);
}

TEST_F(Recorder, SnapshotUsesTheChosenFolderAndWorksWhileRecording) {
  form.EditOutputScreenshotsPath.SetText("D:\\Shots");
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnSnapshot.Click();
  EXPECT_EQ(machine.Entries("save bitmap: ").back(),
            "save bitmap: 528,300,1392,780 -> D:\\Shots\\Screenshot_2024-05-17-14-03-09.bmp");
  EXPECT_EQ(pipeline.log.back(), "run") << "the graph is not touched";
}

TEST_F(Recorder, SnapshotFailureIsReportedAndTheImageComesBack) {
  std::vector<int> images;
  machine.whileSavingBitmap = [&] { images.push_back(form.JvImgBtnSnapshot.ImageIndex()); };
  machine.bitmapError = "Cannot create file \"D:\\x\\a.bmp\". The system cannot find the path specified";
  form.Guarded([&] { form.JvImgBtnSnapshotClick(); });
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{
                "error: Cannot create file \"D:\\x\\a.bmp\". The system cannot find the path specified."}));
  EXPECT_EQ(images, std::vector<int>{4});
  EXPECT_EQ(form.JvImgBtnSnapshot.ImageIndex(), 3);
}

TEST_F(Recorder, SnapshotWithoutFrameOrAreaWritesNothingAndSaysWhy) {
  machine.overlayWindow = false;
  form.Guarded([&] { form.JvImgBtnSnapshotClick(); });
  machine.overlayWindow = true;
  machine.overlayRect = {100, 100, 116, 130};  // a zero-width region
  form.Guarded([&] { form.JvImgBtnSnapshotClick(); });
  EXPECT_EQ(machine.Count("save bitmap: "), 0u);
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: No snapshot was taken: the capture frame is not on the screen.",
                                      "error: No snapshot was taken: the capture region has no area."}));
  EXPECT_EQ(machine.Count("message: Receiver application not found"), 1u);
  EXPECT_EQ(form.JvImgBtnSnapshot.ImageIndex(), 3);
}

}  // namespace
}  // namespace zelvio
