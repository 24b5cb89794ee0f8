#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "server/ServerStore.h"
#include "tests/server/ServerTestSupport.h"

namespace {

TEST(ServerStore, FilesAreReadableByTheServerAloneAndAMissingFileIsNoError) {
  ServerTest::TempFolder t;
  std::string error;
  ASSERT_TRUE(ServerStore::Create(t.Path, "Secret", "Base", 49300, "body", error)) << error;
  for (const char* f : {"/accounts.dat", "/base-1.dat"}) {
    struct stat s {};
    ASSERT_EQ(::stat((t.Path + f).c_str(), &s), 0) << f;
    EXPECT_EQ(s.st_mode & 0777, 0600u) << f;
  }
  EXPECT_FALSE(ServerStore::Create(t.Path, "x", "Base", 49300, "", error)) << "a second init overwrote the first";
  ServerStore store(t.Path);
  ASSERT_TRUE(store.Open(error)) << error;
  EXPECT_EQ(store.Accounts().FindUserByCode("SPR")->Password, "Secret");
  const uint32_t profile = store.Accounts().ServerProfiles().front().Id();
  std::optional<std::string> body;
  ASSERT_TRUE(store.ReadBase(profile, body, error));
  EXPECT_EQ(body, "body");
  ASSERT_TRUE(store.ReadBase(profile + 1, body, error));
  EXPECT_FALSE(body.has_value());
  std::string settings;
  ASSERT_TRUE(store.ReadSettings(profile, 5, settings, error));
  EXPECT_EQ(settings, std::string(4, '\0'));
}

// A writer killed at any moment leaves the previous file or the new one, whole.
TEST(ServerStore, AWriteKilledAtAnyMomentLeavesAWholeFile) {
  ServerTest::TempFolder t;
  std::filesystem::create_directories(t.Path);
  const std::string file = t.Path + "/base-1.dat";
  const std::string a(1 << 20, 'a'), b(3 << 19, 'b');
  std::string error;
  ASSERT_TRUE(AtomicFile::Write(file, a, error)) << error;
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string e;
      for (int i = 0;; ++i)
        if (!AtomicFile::Write(file, i % 2 ? a : b, e)) ::_exit(2);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(300 + round * 1700));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";
    std::optional<std::string> read;
    ASSERT_TRUE(AtomicFile::Read(file, read, error)) << error;
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(*read == a || *read == b) << "round " << round << ": a file of " << read->size() << " bytes";
  }
}

}  // namespace
