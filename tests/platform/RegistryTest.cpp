// The settings store: the hive file's layout and its refusal of damaged files, the store's reads and
// writes, and what several processes see and leave when they write at once or die in a write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"

namespace {

TRegistryValue Text(const std::string& T) { return {HiveFile::kKindText, T, 0}; }
TRegistryValue Number(uint32_t N) { return {HiveFile::kKindNumber, {}, N}; }

std::string Contents(const std::string& Path) {
  std::ifstream f(Path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// A hive of a few keys, with texts holding 1252 letters and zero bytes.
HiveFile::THive SampleHive() {
  HiveFile::THive hive;
  hive.Create("Software\\Norvane\\Tempravo\\Service web").Values["PORTIP"] = {"PortIp", Number(8080)};
  auto& connexion = hive.Create("Software\\Norvane\\Tempravo\\Service web\\Connexion");
  connexion.Values[HiveFile::Fold("Adresse IP du Serveur")] = {"Adresse IP du Serveur", Text("127.0.0.1")};
  connexion.Values[""] = {"", Text(std::string("\xE9t\xE9\0x", 4))};
  hive.Create("");
  return hive;
}

// Runs Body in a child process and returns its exit status; the child dies after 30 seconds
// whatever happens, so that a stuck child cannot hang the test.
int InChild(const std::function<int()>& Body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(30);
    ::_exit(Body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

class Hives : public ::testing::Test {
 protected:
  void SetUp() override {
    char model[] = "/tmp/nv_registry_XXXXXX";
    ASSERT_NE(::mkdtemp(model), nullptr);
    folder_ = model;
  }
  void TearDown() override {
    THiveFiles::SetWriteHook(nullptr);
    std::filesystem::remove_all(folder_);
  }
  std::string File(const std::string& Name) const { return (folder_ / Name).string(); }
  THiveFiles Store() const { return THiveFiles(File("machine/machine.hive"), File("user/user.hive")); }

  std::filesystem::path folder_;
};

}  // namespace

TEST(HiveFileLayout, SerialisesAndParsesBackEveryKeyAndValue) {
  const HiveFile::THive hive = SampleHive();
  const std::string bytes = HiveFile::Serialise(hive);
  EXPECT_EQ(bytes.substr(0, 8), std::string("NVHIVE\r\n"));
  HiveFile::THive back;
  std::string error;
  ASSERT_TRUE(HiveFile::Parse(bytes, back, error)) << error;
  EXPECT_EQ(HiveFile::Serialise(back), bytes);
  const HiveFile::TKey* key = back.Find("SOFTWARE\\NORVANE\\TEMPRAVO\\SERVICE WEB\\CONNEXION");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Path, "Software\\Norvane\\Tempravo\\Service web\\Connexion");
  EXPECT_EQ(key->Values.at("").Value.Text, std::string("\xE9t\xE9\0x", 4));
}

TEST(HiveFileLayout, RefusesEveryTruncationAndEveryAlteredByte) {
  const std::string bytes = HiveFile::Serialise(SampleHive());
  HiveFile::THive back;
  std::string error;
  for (size_t length = 0; length < bytes.size(); ++length)
    EXPECT_FALSE(HiveFile::Parse(bytes.substr(0, length), back, error)) << "truncated to " << length;
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string altered = bytes;
    altered[i] = static_cast<char>(altered[i] ^ 0x20);
    EXPECT_FALSE(HiveFile::Parse(altered, back, error)) << "byte " << i;
    EXPECT_TRUE(back.Keys.empty());
  }
}

TEST(HiveFileLayout, RefusesWellSealedFilesOfTheWrongShape) {
  struct Case {
    const char* what;
    std::function<void(HiveFile::THive&)> spoil;
  };
  const Case cases[] = {
      {"a key stored twice under two cases",
       [](HiveFile::THive& h) { h.Keys["OTHER"] = h.Keys["SOFTWARE\\NORVANE\\TEMPRAVO\\SERVICE WEB"]; }},
      {"a value stored twice under two cases",
       [](HiveFile::THive& h) {
         auto& values = h.Keys["SOFTWARE\\NORVANE\\TEMPRAVO\\SERVICE WEB"].Values;
         values["other"] = {"portip", Number(1)};
       }},
      {"an unknown value kind", [](HiveFile::THive& h) { h.Create("K").Values["V"] = {"V", {7, {}, 0}}; }},
      {"an empty path component", [](HiveFile::THive& h) { h.Create("A\\\\B"); }},
      {"a path ending in a separator", [](HiveFile::THive& h) { h.Create("A\\"); }},
  };
  for (const Case& c : cases) {
    HiveFile::THive hive = SampleHive();
    c.spoil(hive);
    HiveFile::THive back;
    std::string error;
    EXPECT_FALSE(HiveFile::Parse(HiveFile::Serialise(hive), back, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(HiveFileLayout, FoldsWindows1252LettersAndNormalisesPaths) {
  EXPECT_EQ(HiveFile::Fold("Derni\xE8re \x9A\x9C\x9E\xFF \xF7 abz"), "DERNI\xC8RE \x8A\x8C\x8E\x9F \xF7 ABZ");
  std::string normalised;
  ASSERT_TRUE(HiveFile::NormalisePath("\\Software\\\\Norvane\\", normalised));
  EXPECT_EQ(normalised, "Software\\Norvane");
  EXPECT_FALSE(HiveFile::NormalisePath(std::string(256, 'k'), normalised));
  EXPECT_TRUE(HiveFile::NormalisePath(std::string(255, 'k'), normalised));
}

TEST_F(Hives, WritesThenReadsTextsAndNumbersWithoutRegardToCase) {
  THiveFiles store = Store();
  std::string detail;
  ASSERT_EQ(store.Write(TRegistryHive::User, "Software\\Norvane\\Caf\xE9", "PortIp", Number(0xFFFFFFFF), detail),
            TRegistryStatus::Ok)
      << detail;
  ASSERT_EQ(store.Write(TRegistryHive::User, "Software\\Norvane\\Caf\xE9", "Adresse", Text("h\xF4te"), detail),
            TRegistryStatus::Ok);
  // Written again under another case: the value changes, the name keeps its first spelling.
  ASSERT_EQ(store.Write(TRegistryHive::User, "SOFTWARE\\norvane\\CAF\xC9", "ADRESSE", Text("autre"), detail),
            TRegistryStatus::Ok);

  TRegistryValue number = Number(0), text = Text({});
  EXPECT_EQ(store.Read(TRegistryHive::User, "software\\NORVANE\\caf\xE9\\", "portip", number, detail), TRegistryStatus::Ok);
  EXPECT_EQ(number.Number, 0xFFFFFFFFu);
  EXPECT_EQ(store.Read(TRegistryHive::User, "Software\\Norvane\\Caf\xE9", "adresse", text, detail), TRegistryStatus::Ok);
  EXPECT_EQ(text.Text, "autre");
  HiveFile::THive onDisk;
  std::string error;
  ASSERT_TRUE(HiveFile::Parse(Contents(store.Path(TRegistryHive::User)), onDisk, error));
  EXPECT_EQ(onDisk.Find("Software\\Norvane\\Caf\xE9")->Values.at("ADRESSE").Name, "Adresse");
  // The other hive is untouched.
  EXPECT_EQ(store.Read(TRegistryHive::Machine, "Software\\Norvane\\Caf\xE9", "PortIp", number, detail),
            TRegistryStatus::KeyMissing);
}

TEST_F(Hives, TellsMissingKeysMissingValuesAndValuesOfTheOtherKind) {
  THiveFiles store = Store();
  std::string detail;
  ASSERT_EQ(store.Write(TRegistryHive::Machine, "A\\B\\C", "N", Number(1), detail), TRegistryStatus::Ok);
  struct Case {
    const char* key;
    const char* name;
    TRegistryValue asked;
    TRegistryStatus expected;
  };
  const Case cases[] = {
      {"A\\B\\C", "N", Number(0), TRegistryStatus::Ok},
      {"A\\B\\C", "N", Text({}), TRegistryStatus::WrongKind},
      {"A\\B\\C", "M", Number(0), TRegistryStatus::ValueMissing},
      {"A\\B", "N", Number(0), TRegistryStatus::ValueMissing},  // a parent exists once a child was created
      {"", "N", Number(0), TRegistryStatus::ValueMissing},      // so does the hive's root
      {"A\\B\\C\\D", "N", Number(0), TRegistryStatus::KeyMissing},
      {"A\\BB", "N", Number(0), TRegistryStatus::KeyMissing},
  };
  for (const Case& c : cases) {
    TRegistryValue value = c.asked;
    EXPECT_EQ(store.Read(TRegistryHive::Machine, c.key, c.name, value, detail), c.expected) << c.key << " " << c.name;
  }
}

TEST_F(Hives, KeepsTheUserHivePrivate) {
  THiveFiles store = Store();
  std::string detail;
  ASSERT_EQ(store.Write(TRegistryHive::User, "K", "V", Number(1), detail), TRegistryStatus::Ok);
  ASSERT_EQ(store.Write(TRegistryHive::Machine, "K", "V", Number(1), detail), TRegistryStatus::Ok);
  struct stat user{}, machine{};
  ASSERT_EQ(::stat(store.Path(TRegistryHive::User).c_str(), &user), 0);
  ASSERT_EQ(::stat(store.Path(TRegistryHive::Machine).c_str(), &machine), 0);
  EXPECT_EQ(user.st_mode & 0777, 0600u);
  EXPECT_EQ(machine.st_mode & 0622, 0600u);  // the owner's to write, nobody else's
}

TEST_F(Hives, ReportsADamagedHiveFileAndNeverReplacesIt) {
  THiveFiles store = Store();
  std::string detail;
  ASSERT_EQ(store.Write(TRegistryHive::User, "K", "V", Text("kept"), detail), TRegistryStatus::Ok);
  const std::string whole = Contents(store.Path(TRegistryHive::User));
  for (const std::string& damaged : {whole.substr(0, whole.size() / 2), std::string("not a hive"), std::string()}) {
    { std::ofstream(store.Path(TRegistryHive::User), std::ios::binary | std::ios::trunc) << damaged; }
    TRegistryValue value = Text({});
    detail.clear();
    EXPECT_EQ(store.Read(TRegistryHive::User, "K", "V", value, detail), TRegistryStatus::Failed);
    EXPECT_NE(detail.find("is corrupt"), std::string::npos) << detail;
    EXPECT_NE(detail.find(store.Path(TRegistryHive::User)), std::string::npos) << detail;
    EXPECT_EQ(store.Write(TRegistryHive::User, "K", "Other", Text("x"), detail), TRegistryStatus::KeyMissing);
    EXPECT_EQ(Contents(store.Path(TRegistryHive::User)), damaged);
  }
}

TEST_F(Hives, RefusesWritesItCannotCarryOut) {
  THiveFiles store = Store();
  std::string detail;
  // A value name and a key path beyond the bounds, a hive whose folder is a plain file.
  EXPECT_EQ(store.Write(TRegistryHive::User, "K", std::string(16384, 'n'), Number(1), detail), TRegistryStatus::Failed);
  EXPECT_EQ(store.Write(TRegistryHive::User, std::string(300, 'k'), "N", Number(1), detail), TRegistryStatus::KeyMissing);
  { std::ofstream(File("blocked")) << "a file"; }
  THiveFiles blocked(File("blocked/machine.hive"), File("blocked/user.hive"));
  detail.clear();
  EXPECT_EQ(blocked.Write(TRegistryHive::Machine, "K", "N", Number(1), detail), TRegistryStatus::KeyMissing);
  EXPECT_FALSE(detail.empty());
}

TEST_F(Hives, DefaultFilesFollowTheEnvironment) {
  struct Case {
    const char* machine;
    const char* user;
    const char* xdg;
    const char* home;
    TRegistryHive hive;
    std::string expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, "/home/u", TRegistryHive::Machine, "/var/lib/norvane/registry/machine.hive"},
      {"/srv/m.hive", nullptr, nullptr, "/home/u", TRegistryHive::Machine, "/srv/m.hive"},
      {nullptr, nullptr, nullptr, "/home/u", TRegistryHive::User, "/home/u/.config/norvane/registry/user.hive"},
      {nullptr, nullptr, "/xdg", "/home/u", TRegistryHive::User, "/xdg/norvane/registry/user.hive"},
      {nullptr, nullptr, "relative", "/home/u", TRegistryHive::User, "/home/u/.config/norvane/registry/user.hive"},
      {nullptr, "/svc/u.hive", "/xdg", "/home/u", TRegistryHive::User, "/svc/u.hive"},
  };
  const char* names[] = {"NORVANE_REGISTRY_MACHINE", "NORVANE_REGISTRY_USER", "XDG_CONFIG_HOME", "HOME"};
  std::vector<std::pair<bool, std::string>> saved;
  for (const char* name : names) saved.emplace_back(std::getenv(name) != nullptr, std::getenv(name) ? std::getenv(name) : "");
  for (const Case& c : cases) {
    const char* values[] = {c.machine, c.user, c.xdg, c.home};
    for (int i = 0; i < 4; ++i) values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
    EXPECT_EQ(THiveFiles::DefaultPath(c.hive), c.expected);
  }
  for (int i = 0; i < 4; ++i) saved[i].first ? ::setenv(names[i], saved[i].second.c_str(), 1) : ::unsetenv(names[i]);
}

TEST_F(Hives, ValuesTravelBetweenProcessesBothWays) {
  THiveFiles store = Store();
  const std::string text("\xC9t\xE9 \x80 \0 fin", 12);
  const int written = InChild([&] {
    std::string detail;
    THiveFiles child = Store();
    const bool ok = child.Write(TRegistryHive::User, "Software\\Norvane", "Texte", Text(text), detail) == TRegistryStatus::Ok &&
                    child.Write(TRegistryHive::Machine, "Software\\Norvane", "Nombre", Number(0x80000000u), detail) ==
                        TRegistryStatus::Ok;
    return ok ? 0 : 1;
  });
  ASSERT_TRUE(WIFEXITED(written) && WEXITSTATUS(written) == 0);
  std::string detail;
  TRegistryValue value = Text({});
  ASSERT_EQ(store.Read(TRegistryHive::User, "software\\norvane", "texte", value, detail), TRegistryStatus::Ok);
  EXPECT_EQ(value.Text, text);
  value = Number(0);
  ASSERT_EQ(store.Read(TRegistryHive::Machine, "Software\\Norvane", "Nombre", value, detail), TRegistryStatus::Ok);
  EXPECT_EQ(value.Number, 0x80000000u);

  ASSERT_EQ(store.Write(TRegistryHive::User, "Software\\Norvane", "Texte", Text("answer"), detail), TRegistryStatus::Ok);
  const int read = InChild([&] {
    std::string d;
    TRegistryValue v = Text({});
    THiveFiles child = Store();
    return child.Read(TRegistryHive::User, "Software\\Norvane", "Texte", v, d) == TRegistryStatus::Ok && v.Text == "answer"
               ? 0
               : 1;
  });
  EXPECT_TRUE(WIFEXITED(read) && WEXITSTATUS(read) == 0);
}

TEST_F(Hives, ProcessesWritingAtOnceLoseNoneOfTheirWrites) {
  constexpr int kProcesses = 6, kWrites = 30;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::alarm(60);
      ::close(gate[1]);
      char c;
      (void)!::read(gate[0], &c, 1);  // every writer starts when the gate closes
      THiveFiles child = Store();
      std::string detail;
      for (int w = 0; w < kWrites; ++w) {
        // Half the writers share one key, the others a key each.
        const std::string key = p % 2 ? "Shared" : "Own\\" + std::to_string(p);
        if (child.Write(TRegistryHive::User, key, "P" + std::to_string(p) + "W" + std::to_string(w), Number(p * 1000 + w),
                        detail) != TRegistryStatus::Ok)
          ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(pid);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  THiveFiles store = Store();
  std::string detail;
  for (int p = 0; p < kProcesses; ++p)
    for (int w = 0; w < kWrites; ++w) {
      TRegistryValue value = Number(0);
      const std::string key = p % 2 ? "Shared" : "Own\\" + std::to_string(p);
      ASSERT_EQ(store.Read(TRegistryHive::User, key, "P" + std::to_string(p) + "W" + std::to_string(w), value, detail),
                TRegistryStatus::Ok)
          << p << " " << w;
      EXPECT_EQ(value.Number, static_cast<uint32_t>(p * 1000 + w));
    }
}

TEST_F(Hives, AProcessDyingInAWriteLeavesThePreviousFileWhole) {
  for (THiveFiles::TWriteStep step : {THiveFiles::TWriteStep::TemporaryWritten, THiveFiles::TWriteStep::BeforeRename}) {
    THiveFiles store = Store();
    std::string detail;
    ASSERT_EQ(store.Write(TRegistryHive::User, "K", "V", Text("before"), detail), TRegistryStatus::Ok);
    const std::string previous = Contents(store.Path(TRegistryHive::User));
    const int status = InChild([&] {
      THiveFiles::SetWriteHook([step](THiveFiles::TWriteStep reached) {
        if (reached == step) ::kill(::getpid(), SIGKILL);
      });
      std::string d;
      THiveFiles child = Store();
      (void)child.Write(TRegistryHive::User, "K", "V", Text(std::string(100000, 'a')), d);
      return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Contents(store.Path(TRegistryHive::User)), previous);
    TRegistryValue value = Text({});
    ASSERT_EQ(store.Read(TRegistryHive::User, "K", "V", value, detail), TRegistryStatus::Ok);
    EXPECT_EQ(value.Text, "before");
    // The dead writer's lock went with it, and its temporary file is simply written over.
    ASSERT_EQ(store.Write(TRegistryHive::User, "K", "V", Text("after"), detail), TRegistryStatus::Ok) << detail;
    ASSERT_EQ(store.Read(TRegistryHive::User, "K", "V", value, detail), TRegistryStatus::Ok);
    EXPECT_EQ(value.Text, "after");
  }
}
