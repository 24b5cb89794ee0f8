// Coded texts: a code read from a stream (plain or sized layout) and decoded, codes taken from raw
// bytes and decoded, and texts coded with a key from the input. Input: the layout byte, a key and a
// clear text (each a length byte and its bytes), then the stream.
#include <algorithm>
#include <memory>

#include "core/values/Codage.h"
#include "fuzz/FuzzSupport.h"

namespace {

// What decoding gives back of a clear text: the part before its first 0 byte, at most one code's
// worth of characters.
std::string Retrouve(const std::string& Clair, std::size_t TailleCode) {
  return Clair.substr(0, std::min(Clair.find('\0'), TailleCode));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t disposition = octets.Octet();
  const std::string cle = octets.Texte(8);
  const std::string clair = octets.Texte(24);
  const std::string_view reste = octets.Reste();
  const TCustomCodage::Class* classe = TCustomCodage::StaticClass();

  std::string code;
  bool refuse = false;
  try {
    classe->Coder(clair, cle, code);
  } catch (const EConvertError&) {
    refuse = true;
  }
  Fuzz::Verifier(refuse == (!cle.empty() && cle.size() < 4), "only a key of 1 to 3 characters is refused");
  if (!refuse) {
    Fuzz::Verifier(code.size() == static_cast<std::size_t>(classe->TailleCode() + 4), "a code has its fixed length");
    std::string decode;
    classe->Decoder(code, decode);
    Fuzz::Verifier(decode == Retrouve(clair, static_cast<std::size_t>(classe->TailleCode())),
                   "a code decodes to its clear text");
  }

  // Any bytes are a code that decodes to something.
  std::string brut;
  if (!reste.empty()) TCustomCodage::CodeDepuisTampon(reste.data(), static_cast<int32_t>(reste.size() - 1), brut);
  std::string texte;
  classe->Decoder(brut, texte);

  // A code read from a stream writes back the very bytes it was read from.
  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  std::unique_ptr<TObject> blanc(classe->NewBlank());
  auto* lu = static_cast<TCustomCodage*>(blanc.get());
  try {
    lu->Lire(Fuzz::Formateur(disposition, &flux).get(), nullptr);
  } catch (const EReadError&) {
    return 0;
  }
  lu->GetTexte();
  TCustomCodage autre(clair);
  lu->Comparer(&autre, 0);
  TMemoryStream ecrit;
  lu->Ecrire(Fuzz::Formateur(disposition, &ecrit).get(), nullptr);
  Fuzz::Verifier(ecrit.Bytes() == std::vector<uint8_t>(reste.begin(), reste.begin() + flux.Position()),
                 "a code read from a stream writes back the bytes it was read from");
  return 0;
}
