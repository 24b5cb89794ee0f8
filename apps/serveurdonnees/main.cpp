// The data server program. Commands, each on a folder of its own:
//   init FOLDER [PROFILE [PORT]]       a new server: the "SPR" administrator, whose password is read
//                                      from standard input, and one server profile (default "Base",
//                                      port 49300) with an empty base
//   user-add FOLDER CODE NAME [LOGIN]  a user; the password is read from standard input
//   user-change FOLDER CODE NAME [LOGIN]  a user's name and login; the new password is read from
//                                      standard input
//   user-remove FOLDER CODE            a user and its assignments
//   assign FOLDER CODE PROFILE USERPROFILE   the user holds that user profile in that server profile
//   unassign FOLDER CODE PROFILE
//   run FOLDER [ADDRESS]               serves until SIGTERM or SIGINT (default address 127.0.0.1)
//   --help, -h                         prints this usage on standard output
// The exit status is 0 when the command did what it says, 1 otherwise (the reason on standard error).
#include <iostream>
#include <string>
#include <vector>

#include "base/ModulesBase.h"
#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "core/objects/Modules.h"
#include "core/serial/Streams.h"
#include "net/ModulesNet.h"
#include "net/NetBases.h"
#include "objectdb/ModulesObjectdb.h"
#include "platform/loop/MainLoop.h"
#include "server/DataServer.h"
#include "streams/ModulesStreams.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"

namespace {

constexpr const char* kUsage =
    "usage: serveurdonnees COMMAND FOLDER ...\n"
    "  init FOLDER [PROFILE [PORT]]             a new server: the SPR administrator (password on standard\n"
    "                                           input) and one server profile (default Base, port 49300)\n"
    "  user-add FOLDER CODE NAME [LOGIN]        a user (password on standard input)\n"
    "  user-change FOLDER CODE NAME [LOGIN]     a user's name and login (new password on standard input)\n"
    "  user-remove FOLDER CODE                  a user and its assignments\n"
    "  assign FOLDER CODE PROFILE USERPROFILE   the user holds that user profile in that server profile\n"
    "  unassign FOLDER CODE PROFILE\n"
    "  run FOLDER [ADDRESS]                     serves until SIGTERM or SIGINT (default 127.0.0.1)\n"
    "  --help, -h                               this text\n";

int Fail(const std::string& Reason) {
  std::cerr << Reason << std::endl;
  return 1;
}

std::string ReadPassword() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// The body of an empty base, as the base writer writes it.
bool EmptyBase(std::string& Body) {
  SupParametresGrille::Initialiser();
  SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
  NetBases::BaseAnterieure506() = false;
  if (!SupToutesTables::CreerToutesLesTables() || !SupFichiers::EnregistrerTousLesFichiers()) return false;
  TMemoryStream flux;
  VclImportExport::ExporterBase(flux);
  Body.assign(flux.Bytes().begin(), flux.Bytes().end());
  SupToutesTables::LibererToutesLesTables();
  return true;
}

const ServerProfile* ProfileNamed(const AccountBase& A, const std::string& Name) {
  for (const auto& p : A.ServerProfiles())
    if (p.Name() == Name) return &p;
  return nullptr;
}

int Init(const std::vector<std::string>& Args) {
  if (Args.size() < 1) return Fail("init FOLDER [PROFILE [PORT]]");
  const std::string profile = Args.size() > 1 ? Args[1] : "Base";
  const int port = Args.size() > 2 ? std::atoi(Args[2].c_str()) : 49300;
  if (port < 0 || port > 65535) return Fail("the port is out of range");
  const std::string password = ReadPassword();
  std::string body, error;
  if (!EmptyBase(body)) return Fail("the empty base cannot be written");
  if (!ServerStore::Create(Args[0], password, profile, static_cast<uint16_t>(port), body, error)) return Fail(error);
  return 0;
}

int Users(const std::string& Command, const std::vector<std::string>& Args) {
  if (Args.size() < 2) return Fail(Command + " FOLDER CODE ...");
  ServerStore store(Args[0]);
  std::string error;
  if (!store.Open(error)) return Fail(error);
  AccountBase& a = store.Accounts();
  const std::string& code = Args[1];
  uint32_t id = 0;
  if (Command == "user-add" || Command == "user-change") {
    if (Args.size() < 3) return Fail(Command + " FOLDER CODE NAME [LOGIN]");
    Account u{0, Args[2], code, Args.size() > 3 ? Args[3] : "", ReadPassword(), 0, ""};
    if (Command == "user-add") {
      error = a.AddUser(u, id);
    } else {
      const Account* old = a.FindUserByCode(code);
      if (old == nullptr) return Fail("no such user");
      u.Id = old->Id;
      u.Flag = old->Flag;
      u.Text = old->Text;
      error = a.ChangeUser(u);
    }
  } else if (Command == "user-remove") {
    error = a.RemoveUser(code);
  } else if (Command == "assign" || Command == "unassign") {
    if (Args.size() < (Command == "assign" ? 4u : 3u)) return Fail(Command + " FOLDER CODE PROFILE [USERPROFILE]");
    const ServerProfile* p = ProfileNamed(a, Args[2]);
    if (p == nullptr) return Fail("no such server profile");
    if (Command == "unassign") {
      error = a.Unassign(code, p->Id());
    } else {
      const UserProfile* g = a.FindUserProfileByName(Args[3]);
      if (g == nullptr) return Fail("no such user profile");
      error = a.Assign(code, p->Id(), g->Id, id);
    }
  } else {
    return Fail("unknown command \"" + Command + "\"");
  }
  if (!error.empty()) return Fail(error);
  return store.SaveAccounts(error) ? 0 : Fail(error);
}

int Run(const std::vector<std::string>& Args) {
  if (Args.size() < 1) return Fail("run FOLDER [ADDRESS]");
  ServerStore store(Args[0]);
  std::string error;
  if (!store.Open(error)) return Fail(error);
  MainLoop loop([] {}, [] {});
  DataServer::Options options;
  if (Args.size() > 1) options.Address = Args[1];
  DataServer server(loop, store, options);
  if (!server.Start(error)) return Fail(error);
  loop.StopOnSignals();
  loop.Run();
  server.Stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return 1;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  Modules::Demarrer({ModulesCore(), ModulesObjectdb(), ModulesNet(), ModulesBase(), ModulesStreams()});
  int status = 0;
  try {
    status = command == "init" ? Init(args) : command == "run" ? Run(args) : Users(command, args);
  } catch (const std::exception& e) {
    status = Fail(e.what());
  }
  Modules::Arreter();
  return status;
}
