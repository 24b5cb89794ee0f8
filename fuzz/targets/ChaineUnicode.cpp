// The code-page conversions: bytes in a code page (Windows-1252, US-ASCII, UTF-8 or one that ICU
// converts) to UTF-16 and UTF-8 and back, and UTF-16 from the input to every code page. Input: the
// code-page choice, then the text.
#include <iterator>
#include <string>

#include "core/objects/Exceptions.h"
#include "core/values/ChaineUnicode.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The code pages the system names, a few that ICU converts, and one that does not exist.
constexpr int32_t kPages[] = {ChaineUnicode::CP_ACP, ChaineUnicode::CP_WINDOWS_1252, ChaineUnicode::CP_US_ASCII,
                              ChaineUnicode::CP_UTF8, 1250, 1251, 437, 850, 932, 936, 949, 950, 28591, 54321};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const int32_t page = kPages[octets.Octet() % std::size(kPages)];
  const std::string_view texte = octets.Reste();
  using namespace ChaineUnicode;

  try {
    const std::u16string large = VersUnicode(texte, page);
    const std::string utf8 = VersUTF8(texte, page);
    DepuisUnicode(large, page);
    DepuisUTF8(utf8, page);
    if (page == CP_ACP || page == CP_WINDOWS_1252)
      Fuzz::Verifier(DepuisUnicode(large, page) == texte, "every 1252 text comes back from UTF-16 unchanged");
    if (page != CP_UTF8)
      Fuzz::Verifier(VersUnicode(DepuisUnicode(large, CP_UTF8), CP_UTF8) == large,
                     "a text converted from a code page goes through UTF-8 and back unchanged");
  } catch (const EConvertError&) {
    // A code page that cannot be converted.
  }

  // The bytes as UTF-16 (a lone surrogate included), to every code page.
  std::u16string large(texte.size() / 2, u'\0');
  for (std::size_t i = 0; i < large.size(); ++i)
    large[i] = static_cast<char16_t>(static_cast<uint8_t>(texte[2 * i]) | static_cast<uint8_t>(texte[2 * i + 1]) << 8);
  try {
    const std::string enPage = DepuisUnicode(large, page);
    VersUnicode(enPage, page);
  } catch (const EConvertError&) {
  }

  TChaineUnicode chaine;
  try {
    chaine.SetChaine(page, texte);
    chaine.GetUTF8();
    chaine.SetPageDeCode(CP_WINDOWS_1252);
    chaine.GetChaine(page);
  } catch (const EConvertError&) {
  }
  return 0;
}
