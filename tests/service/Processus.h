// The real service program run by a test: started with its own environment, its standard output and
// error read through one pipe, awaited with a deadline (never a fixed sleep), signalled and reaped.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

class ProcessusService {
 public:
  // Env: "NAME=value" entries added to the test's environment.
  ProcessusService(const std::vector<std::string>& Arguments, const std::vector<std::string>& Env) {
    int tube[2];
    if (::pipe2(tube, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(tube[1], 1);
      ::dup2(tube[1], 2);
      for (const auto& e : Env) ::putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> argv{const_cast<char*>(NV_SVCWEB)};
      for (const auto& a : Arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(NV_SVCWEB, argv.data());
      ::_exit(127);
    }
    ::close(tube[1]);
    sortie_ = tube[0];
  }
  ~ProcessusService() {
    if (pid_ > 0 && !termine_) {
      ::kill(pid_, SIGKILL);
      Attendre();
    }
    if (sortie_ >= 0) ::close(sortie_);
  }

  // Reads the standard error until Texte appears in it, the pipe closes or 20 s pass.
  bool AttendreTexte(const std::string& Texte) {
    while (texte_.find(Texte) == std::string::npos)
      if (!Lire()) return false;
    return true;
  }
  void Signaler(int Signal) { ::kill(pid_, Signal); }
  // The exit status once the process has ended, which its closed output tells; -1 when it ended by a
  // signal, -2 when it had not ended after 20 s (it is then killed).
  int Attendre() {
    while (Lire()) {
    }
    const bool fini = eof_;
    if (!fini) ::kill(pid_, SIGKILL);
    int statut = 0;
    ::waitpid(pid_, &statut, 0);
    termine_ = true;
    if (!fini) return -2;
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
  }
  const std::string& Sortie() const { return texte_; }

 private:
  // One read of the output within the deadline; false at its end or when the deadline passed.
  bool Lire() {
    if (eof_) return false;
    const auto reste =
        std::chrono::duration_cast<std::chrono::milliseconds>(echeance_ - std::chrono::steady_clock::now());
    pollfd p{sortie_, POLLIN, 0};
    if (reste.count() <= 0 || ::poll(&p, 1, static_cast<int>(reste.count())) != 1) return false;
    char tampon[4096];
    const ssize_t n = ::read(sortie_, tampon, sizeof(tampon));
    if (n <= 0) {
      eof_ = true;
      return false;
    }
    texte_.append(tampon, static_cast<size_t>(n));
    return true;
  }

  std::chrono::steady_clock::time_point echeance_ = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool eof_ = false;
  pid_t pid_ = -1;
  int sortie_ = -1;
  bool termine_ = false;
  std::string texte_;
};
