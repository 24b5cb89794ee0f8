// The HTTP client through which a language module is refreshed from its update location: one GET of
// an "http://host[:port]/path" address, answered by the whole body of a 200 answer that announces
// its length. The interface lets a test or another transport stand in; TClientHttpBeast is the
// implementation on Boost.Beast.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

class IClientHttp {
 public:
  virtual ~IClientHttp() = default;
  // GET of Adresse with the user agent Agent and a request that makes caches revalidate their copy.
  // True with the body of a 200 answer whose Content-Length is at most Limite and whose body came
  // whole; otherwise False with the reason in Erreur (Corps is then empty).
  [[nodiscard]] virtual bool Obtenir(const std::string& Adresse, const std::string& Agent, std::size_t Limite,
                                     std::string& Corps, std::string& Erreur) = 0;
};

class TClientHttpBeast : public IClientHttp {
 public:
  // Every step (name resolution, connection, request, answer) must end within Delai.
  explicit TClientHttpBeast(std::chrono::milliseconds Delai = std::chrono::seconds(30)) : delai_(Delai) {}
  [[nodiscard]] bool Obtenir(const std::string& Adresse, const std::string& Agent, std::size_t Limite,
                             std::string& Corps, std::string& Erreur) override;

 private:
  std::chrono::milliseconds delai_;
};
