#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace {

struct TToolRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// Runs the tool on a settings file of its own, never the user's.
class ConfigCommand : public ::testing::Test {
 protected:
  TempFolder folder;

  TToolRun Run(const std::string& arguments) {
    const std::string errFile = folder.File("stderr.txt");
    const std::string command = "PANDECTA_SETTINGS_FILE='" + folder.File("s.ini") + "' '" PANDECTA_TOOL_PATH
                                "' config " + arguments + " 2>'" + errFile + "'";
    TToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Out.append(buffer, count);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadWholeFile(errFile);
    return run;
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

const std::string kToolFolder = std::filesystem::path(PANDECTA_TOOL_PATH).parent_path().string();

TEST_F(ConfigCommand, ListsEverySettingInTableOrderWithDefaultsExpanded) {
  const TToolRun run = Run("");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const auto lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[0], "DataFolder\t" + kToolFolder + "/Dados");
  EXPECT_EQ(lines[1], "ExtraFolder\t" + kToolFolder + "/Extra");
  EXPECT_EQ(lines[3], "UpdateURL\thttp://www.pandecta.example/atualizacao");
  EXPECT_EQ(lines[5], "UpdateLatestDocument\t");
  EXPECT_EQ(lines[19], "ShowTree\tfalse");
  EXPECT_EQ(lines[21], "ProgramFolder\t" + kToolFolder);
  EXPECT_EQ(lines[24].rfind("ServerCompressor\t", 0), 0u);
}

TEST_F(ConfigCommand, StoresAValueAndAnEmptyValueBringsTheDefaultBack) {
  ASSERT_EQ(Run("ProgramFolder /opt/pandecta").ExitCode, 0);
  ASSERT_EQ(Run("ProxyUserName 'joão'").ExitCode, 0);
  const auto lines = Lines(Run("").Out);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[0], "DataFolder\t/opt/pandecta/Dados");
  EXPECT_EQ(lines[8], "ProxyUserName\tjoão");
  EXPECT_EQ(Run("ProxyUserName").Out, "joão\n");

  ASSERT_EQ(Run("ProgramFolder ''").ExitCode, 0);
  EXPECT_EQ(Run("DataFolder").Out, kToolFolder + "/Dados\n");
}

TEST_F(ConfigCommand, RefusesUnknownNamesAndExtraArguments) {
  const TToolRun unknown = Run("Inexistente valor");
  EXPECT_EQ(unknown.ExitCode, 1);
  EXPECT_EQ(unknown.Err, "Configuração desconhecida: Inexistente\n");
  EXPECT_EQ(Run("datafolder").ExitCode, 1);
  const TToolRun extra = Run("DataFolder a b");
  EXPECT_EQ(extra.ExitCode, 1);
  EXPECT_NE(extra.Err.find("config [NOME [VALOR]]"), std::string::npos);
}

}  // namespace
