// The main window's update commands: enabled by the running update's kind,
// and the package named on the command line started at the last start-up
// stage in the update window.
#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include "StartupStages.h"
#include "ClientMainUnit.h"
#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "PackageUpdate.h"
#include "UpdateUnit.h"

namespace {

class UpdateCommandsTest : public ClientTest {};

TEST_F(UpdateCommandsTest, CommandsFollowTheRunningUpdateAndTheStartupPackageOpensIt) {
  SaveIndex();
  Config().SetString(::DownloadFolder, DataFolder() + "-download");
  TfrmClientMain& window = OpenWindow();
  const TClientActions& a = window.Actions();
  EXPECT_TRUE(a.UpdateInternetAction->isEnabled());
  EXPECT_TRUE(a.UpdateLocalFileAction->isEnabled());
  EXPECT_TRUE(a.UpdateFloppyAction->isEnabled());

  emit window.Startup().UpdateRequested(QString::fromStdString(DataFolder() + "/nenhum.dat"));
  TfrmUpdate* update = TfrmUpdate::Instance();
  ASSERT_NE(update, nullptr);
  EXPECT_EQ(update->parent(), &window);
  EXPECT_EQ(update->Package()->LocalFile(), DataFolder() + "/nenhum.dat");
  // An update of another kind runs: every command is off.
  EXPECT_FALSE(a.UpdateInternetAction->isEnabled());
  EXPECT_FALSE(a.UpdateLocalFileAction->isEnabled());
  EXPECT_FALSE(a.UpdateFloppyAction->isEnabled());

  ASSERT_TRUE(RunUntil([&] { return update->Update().Finished(); }));
  EXPECT_FALSE(update->Update().Completed());
  EXPECT_EQ(errors_.size(), 1u);  // the missing package, in the error box
  update->findChild<QPushButton*>("HideButton")->click();
  ASSERT_TRUE(RunUntil([] { return TfrmUpdate::Instance() == nullptr; }));
  EXPECT_TRUE(a.UpdateLocalFileAction->isEnabled());
  EXPECT_NE(window.Tree(), nullptr);  // reloaded, not lost
}

}  // namespace
