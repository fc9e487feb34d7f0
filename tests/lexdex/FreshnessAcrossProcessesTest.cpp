// A search never answers from before a change that another process made to
// the index folder, even when the change leaves the hint file's size and
// times as they were: a rewrite within the same tick of the file system's
// clock, on a local disk and on a file system with two-second times (a
// network folder simulated by libnetwork_folder_shim.so). The searching
// process keeps its cache all along; the writing process closes its session
// as any program of this format does, writing back every hint block it used.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "ChildSession.h"
#include "TempFolder.h"

namespace {

using namespace std::chrono_literals;

constexpr int kGroup = 5;
constexpr int kRewrites = 6;
constexpr int kTimeResolutionSeconds = 2;
// Longer than the engine's settle time of a hint file's stamp.
constexpr auto kPastSettleTime = 3500ms;
// A two-second window gives the scenario time to run inside it.
constexpr auto kLatestStartInWindow = 300ms;

// The two versions of group 5 take the same bytes and the same hint bits:
// only the positions of "renda" differ.
const std::vector<std::string> kVersions[2] = {{"renda:100:7", "imposto:10:3"}, {"renda:200:9", "imposto:10:3"}};
const char* const kAnswers[2] = {"5:100:7 ", "5:200:9 "};

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string AnswerOf(const std::string& reply) { return reply.substr(0, reply.find('|')); }
int ReadsOf(const std::string& reply) {
  const std::size_t at = reply.find("reads ");
  return at == std::string::npos ? -1 : std::stoi(reply.substr(at + 6));
}

class FreshnessAcrossProcesses : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Write(0), 0); }

  int Write(int version) {
    std::vector<std::string> arguments = {"write", folder_, std::to_string(kGroup)};
    arguments.insert(arguments.end(), kVersions[version].begin(), kVersions[version].end());
    return RunToEnd(LEXDEX_SESSION_PROCESS, arguments);
  }

  // The hint file as a file system with two-second times shows it.
  std::string CoarseStampOfHintFile() const {
    struct stat status {};
    if (::stat((folder_ + "/hint.il").c_str(), &status) != 0) return "none";
    return std::to_string(status.st_size) + "@" +
           std::to_string(status.st_mtime - status.st_mtime % kTimeResolutionSeconds);
  }

  static std::vector<std::string> TwoSecondTimes(const std::string& folder) {
    return {std::string("LD_PRELOAD=") + NETWORK_FOLDER_SHIM, "NETFOLDER_PATH=" + folder,
            "NETFOLDER_TIME_RESOLUTION=" + std::to_string(kTimeResolutionSeconds),
            // A preloaded library comes before the sanitizer runtime.
            std::string("ASAN_OPTIONS=verify_asan_link_order=0:") + EnvironmentValue("ASAN_OPTIONS")};
  }

  // Waits for the start of a two-second window of the clock file times use.
  static void WaitForTheStartOfATimeWindow() {
    for (;;) {
      timespec now{};
      ::clock_gettime(CLOCK_REALTIME, &now);
      const auto intoWindow = std::chrono::seconds(now.tv_sec % kTimeResolutionSeconds) + std::chrono::nanoseconds(now.tv_nsec);
      if (intoWindow < kLatestStartInWindow) return;
      std::this_thread::sleep_for(std::chrono::seconds(kTimeResolutionSeconds) - intoWindow);
    }
  }

  // Rewrites the group again and again, each time right after a search of
  // the reader, which must always see the version just written.
  void ExpectEveryRewriteSeen(ChildSession& reader) {
    for (int rewrite = 1; rewrite <= kRewrites; ++rewrite) {
      const int version = rewrite % 2;
      const std::string stampBefore = CoarseStampOfHintFile();
      ASSERT_EQ(Write(version), 0);
      EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[version]) << "after rewrite " << rewrite;
      stampsUnchanged_ += CoarseStampOfHintFile() == stampBefore ? 1 : 0;
    }
  }

  TempFolder temp_;
  std::string folder_ = temp_.File("idx");
  int stampsUnchanged_ = 0;  // rewrites that left the coarse stamp as it was
};

TEST_F(FreshnessAcrossProcesses, ASearchSeesRewritesMadeWithinTheSameSecond) {
  ChildSession reader(LEXDEX_SESSION_PROCESS, {"search", folder_});
  ASSERT_TRUE(reader.Started());
  EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[0]);
  ExpectEveryRewriteSeen(reader);
  EXPECT_EQ(reader.Finish(), 0);
}

TEST_F(FreshnessAcrossProcesses, ASearchSeesRewritesOnAFileSystemWithTwoSecondTimes) {
  ChildSession reader(LEXDEX_SESSION_PROCESS, {"search", folder_}, TwoSecondTimes(temp_.Path().string()));
  ASSERT_TRUE(reader.Started());
  WaitForTheStartOfATimeWindow();
  ASSERT_EQ(Write(0), 0);
  EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[0]);
  ExpectEveryRewriteSeen(reader);
  // The rewrites really were invisible in the hint file's size and times.
  EXPECT_GT(stampsUnchanged_, 0);
  EXPECT_EQ(reader.Finish(), 0);
}

TEST_F(FreshnessAcrossProcesses, AnswersReadOnceTheStampSettledServeLaterSearchesUntilTheNextChange) {
  ChildSession reader(LEXDEX_SESSION_PROCESS, {"search", folder_}, TwoSecondTimes(temp_.Path().string()));
  ASSERT_TRUE(reader.Started());
  // First seen now: what is read in these first seconds is read again.
  EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[0]);
  const std::string soon = reader.Ask("find renda");
  EXPECT_EQ(AnswerOf(soon), kAnswers[0]);
  EXPECT_GT(ReadsOf(soon), 0);
  std::this_thread::sleep_for(kPastSettleTime);
  EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[0]);
  const std::string later = reader.Ask("find renda");
  EXPECT_EQ(AnswerOf(later), kAnswers[0]);
  EXPECT_EQ(ReadsOf(later), 0) << later;  // from memory
  // A change now lies in a later two-second window: the stamp differs.
  ASSERT_EQ(Write(1), 0);
  EXPECT_EQ(AnswerOf(reader.Ask("find renda")), kAnswers[1]);
  EXPECT_EQ(reader.Finish(), 0);
}

}  // namespace
