// The service's login file: whatever it holds, reading it stays within its bound, and the login
// text it decodes to (or the raw bytes read as a login text) gives a user code within the text and
// within the announced length, and a password of at most 255 characters that follows it. Input: the
// file's bytes.
#include <unistd.h>

#include <fstream>

#include "fuzz/FuzzSupport.h"
#include "service/ApplicationServiceWeb.h"

namespace {

void VerifierLogin(const std::string& Texte, const std::string& Code, const std::string& MotDePasse) {
  Fuzz::Verifier(MotDePasse.size() <= 255, "a password keeps 255 characters at most");
  Fuzz::Verifier(Code.size() + MotDePasse.size() <= Texte.size(), "a login never reads past its text");
  if (!Code.empty() || !MotDePasse.empty()) {
    const size_t debut = Texte.find(' ') + 1;
    Fuzz::Verifier(Texte.compare(debut, Code.size() + MotDePasse.size(), Code + MotDePasse) == 0,
                   "code and password follow the length field");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  const std::string octets(reinterpret_cast<const char*>(Data), Size);

  std::string code, motDePasse;
  TApplicationServiceWeb::AnalyserLogin(octets, code, motDePasse);
  VerifierLogin(octets, code, motDePasse);

  static const std::string fichier = "/tmp/nv_fuzz_login_" + std::to_string(::getpid());
  ::unlink(fichier.c_str());
  { std::ofstream(fichier, std::ios::binary) << octets; }
  ::chmod(fichier.c_str(), 0600);
  std::string encode, erreur;
  const bool lu = TApplicationServiceWeb::LireFichierLogin(fichier, encode, erreur);
  ::unlink(fichier.c_str());
  Fuzz::Verifier(lu == (Size <= TApplicationServiceWeb::kTailleMaxFichierLogin), "the file's bound holds");
  Fuzz::Verifier(lu ? octets.compare(0, encode.size(), encode) == 0 : encode.empty(), "what is read is the file");
  TApplicationServiceWeb::DecoderLogin(encode, code, motDePasse);
  Fuzz::Verifier(code.size() + motDePasse.size() <= encode.size(), "a decoded login is shorter than its encoding");
  return 0;
}
