#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/server/ServerTestSupport.h"

namespace {

using ServerTest::Command;

// A port that nothing listens on now.
uint16_t FreePort() {
  boost::asio::io_context io;
  boost::asio::ip::tcp::acceptor a(io, {boost::asio::ip::make_address("127.0.0.1"), 0});
  return a.local_endpoint().port();
}

// The program serving a folder, stopped by SIGTERM.
class Running {
 public:
  explicit Running(const std::string& Folder) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 2);
      ::close(out[0]);
      ::execl(NV_SERVEURDONNEES, NV_SERVEURDONNEES, "run", Folder.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    log_ = ::fdopen(out[0], "r");
  }
  // Reads the program's log until a line holds Text; false when it ended first.
  bool WaitFor(const std::string& Text) {
    char line[1024];
    while (std::fgets(line, sizeof line, log_) != nullptr)
      if (std::string(line).find(Text) != std::string::npos) return true;
    return false;
  }
  // Stops it; its exit status.
  int Stop() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Running() {
    if (pid_ > 0) Stop();
    std::fclose(log_);
  }

 private:
  pid_t pid_ = -1;
  FILE* log_ = nullptr;
};

// The usage is asked for: printed on standard output, success. Without a command it is the error.
TEST(DataServerProgram, HelpPrintsTheUsageAndSucceeds) {
  for (const char* aide : {"--help", "-h"}) {
    FILE* p = ::popen((std::string(NV_SERVEURDONNEES) + " " + aide + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string sortie;
    char tampon[256];
    while (std::fgets(tampon, sizeof tampon, p) != nullptr) sortie += tampon;
    const int status = ::pclose(p);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << aide;
    EXPECT_NE(sortie.find("usage: serveurdonnees"), std::string::npos) << aide;
    EXPECT_NE(sortie.find("user-add FOLDER CODE NAME"), std::string::npos) << aide;
  }
  EXPECT_EQ(Command(""), 1);
}

TEST(DataServerProgram, InitUsersAndRunServeTheAccountsAndTheEmptyBase) {
  ServerTest::TempFolder folder;
  const uint16_t port = FreePort();
  const std::string f = "'" + folder.Path + "'";
  ASSERT_EQ(Command("init " + f + " Base " + std::to_string(port), "Secret\n"), 0);
  EXPECT_NE(Command("init " + f, "Other\n"), 0) << "a second init replaced the first";
  ASSERT_EQ(Command("user-add " + f + " JMA 'Jeanne Martin'", "pw1\n"), 0);
  ASSERT_EQ(Command("user-add " + f + " DUP Double", "x\n"), 0);
  struct Cas {
    const char* Nom;
    std::string Arguments;
    int Statut;
  };
  const Cas cas[] = {
      {"assign", "assign " + f + " JMA Base Modification", 0},
      {"a code already used", "user-add " + f + " JMA Autre", 1},
      {"an unknown server profile", "assign " + f + " JMA Nulle Modification", 1},
      {"an unknown user profile", "assign " + f + " JMA Base Nul", 1},
      {"removing the super user", "user-remove " + f + " SPR", 1},
      {"removing a user", "user-remove " + f + " DUP", 0},
      {"an unknown command", "user-rename " + f + " JMA", 1},
      {"a folder without a server", "run '" + folder.Path + "/none'", 1},
  };
  for (const Cas& c : cas) EXPECT_EQ(Command(c.Arguments, "pw\n"), c.Statut) << c.Nom;
  ASSERT_EQ(Command("user-change " + f + " JMA 'Jeanne M.'", "pw2\n"), 0);

  std::optional<std::string> emptyBase;
  std::string error;
  ASSERT_TRUE(AtomicFile::Read(folder.Path + "/base-1.dat", emptyBase, error));
  ASSERT_TRUE(emptyBase.has_value());

  Running server(folder.Path);
  ASSERT_TRUE(server.WaitFor("listens on 127.0.0.1:" + std::to_string(port)));
  {
    ServerTest::Client c(port);
    c.Greeting();
    const uint32_t profile = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(c.Host.data() + 357));
    EXPECT_EQ(c.LogIn("SPR", "Secret", profile, 8).Result, 0);
    const auto base = c.Stream(0);
    ASSERT_TRUE(base.has_value());
    EXPECT_EQ(ServerTest::Inflate(*base).substr(256), *emptyBase);
  }
  ServerTest::Client c(port);
  c.Greeting();
  const uint32_t profile = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(c.Host.data() + 357));
  EXPECT_EQ(c.LogIn("JMA", "pw1", profile).Authentication, 3) << "the old password still works";
  ServerTest::Client d(port);
  d.Greeting();
  EXPECT_EQ(d.LogIn("JMA", "pw2", profile).Result, 0);
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
