// SOAP toolkits that nobody here wrote call the service through the WSDL it serves: PHP's
// SoapClient in the encoded use, zeep in the literal use, both with HTTP Basic credentials.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/service/BancHttp.h"

namespace {

// The Debian interpreter is named by its path: zeep is its package, not a per-user install.
// Runs a command while the bench serves it; answers its output (standard error included) and exit
// status.
std::pair<std::string, int> Executer(BancHttp& banc, const std::string& commande) {
  std::string sortie;
  int statut = -1;
  banc.Servir([&] {
    FILE* f = popen((commande + " 2>&1").c_str(), "r");
    if (!f) return;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) sortie.append(buf, n);
    statut = pclose(f);
  });
  return {sortie, statut};
}

const std::string kVersion = "TEMPRAVO Service Web 2007 - 0.6.1";

TEST(ClientsReels, PhpSoapClientCallsVersionThroughTheEncodedWsdl) {
  BancHttp banc;
  auto [sortie, statut] =
      Executer(banc, "php " NV_SOURCE_DIR "/tests/service/clients/version.php " + std::to_string(banc.Port()));
  EXPECT_EQ(statut, 0) << sortie;
  EXPECT_EQ(sortie, kVersion);
}

TEST(ClientsReels, ZeepCallsVersionThroughTheLiteralWsdl) {
  BancHttp banc([](TFrontalHttp& f) { f.Parametres.RPCLiteral = true; });
  auto [sortie, statut] =
      Executer(banc, "/usr/bin/python3 " NV_SOURCE_DIR "/tests/service/clients/version_zeep.py " + std::to_string(banc.Port()));
  EXPECT_EQ(statut, 0) << sortie;
  EXPECT_EQ(sortie, kVersion);
}

}  // namespace
