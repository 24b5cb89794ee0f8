#include "core/values/ChaineUnicode.h"

#include <unicode/ucnv.h>
#include <unicode/utypes.h>

#include <array>
#include <climits>
#include <memory>

#include "core/values/Ansi1252.h"
#include "core/objects/Exceptions.h"
#include "core/values/Format.h"

const TChaineRessource ChaineUnicode::RS_PageDeCodeInconnue_D{"ChaineUnicode_RS_PageDeCodeInconnue_D", 65535,
                                                               "La page de code %d n'est pas installée"_ansi};

void ChaineUnicode::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_PageDeCodeInconnue_D};
  ChaineRessource::Enregistrer(kChaines);
}

namespace {

[[noreturn]] void PageDeCodeInconnue(int32_t page) {
  throw EConvertError(Format(ChaineRessource::Charger(ChaineUnicode::RS_PageDeCodeInconnue_D), {page}));
}

// ---------------------------------------------------------------------------------------------
// UTF-8 <-> UTF-16, strict in both directions.

// Decodes UTF-8 into `out`; false on any malformed, overlong, truncated or surrogate sequence.
bool DecoderUTF8(std::string_view s, std::u16string& out) {
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    std::size_t suite;
    char32_t cp, minimum;
    if ((b & 0xE0) == 0xC0) { suite = 1; cp = b & 0x1F; minimum = 0x80; }
    else if ((b & 0xF0) == 0xE0) { suite = 2; cp = b & 0x0F; minimum = 0x800; }
    else if ((b & 0xF8) == 0xF0) { suite = 3; cp = b & 0x07; minimum = 0x10000; }
    else return false;
    if (s.size() - i <= suite) return false;
    for (std::size_t k = 1; k <= suite; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += suite + 1;
  }
  return true;
}

void AjouterUTF8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool EstSurrogateHaut(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool EstSurrogateBas(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// A surrogate pair becomes one 4-byte sequence; a lone surrogate, which is no character and
// would make the whole text undecodable, becomes U+FFFD.
std::string EncoderUTF8(std::u16string_view u) {
  std::string out;
  out.reserve(u.size());
  for (std::size_t i = 0; i < u.size(); ++i) {
    const char16_t c = u[i];
    if (EstSurrogateHaut(c) && i + 1 < u.size() && EstSurrogateBas(u[i + 1])) {
      AjouterUTF8(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (u[i + 1] - 0xDC00), out);
      ++i;
    } else if (EstSurrogateHaut(c) || EstSurrogateBas(c)) {
      AjouterUTF8(0xFFFD, out);
    } else {
      AjouterUTF8(c, out);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Windows-1252. The five bytes that 1252 leaves unassigned (81 8D 8F 90 9D) stand for the C1
// controls of the same value, both ways, so that every byte survives a round trip.

char16_t UniteDe1252(unsigned char b) {
  if (b < 0x80 || b >= 0xA0) return b;
  const char16_t u = ansi1252::kHighControls[b - 0x80];
  return u != 0 ? u : b;
}

char OctetDe1252(char32_t cp) {
  if (cp >= 0x80 && cp < 0xA0) return ansi1252::kHighControls[cp - 0x80] == 0 ? static_cast<char>(cp) : '?';
  const int octet = ansi1252::ByteOf(cp);
  return octet < 0 ? '?' : static_cast<char>(octet);
}

std::u16string VersUnicode1252(std::string_view t) {
  std::u16string out(t.size(), u'\0');
  for (std::size_t i = 0; i < t.size(); ++i) out[i] = UniteDe1252(static_cast<unsigned char>(t[i]));
  return out;
}

// A surrogate pair is one character that 1252 lacks: one "?".
std::string DepuisUnicode1252(std::u16string_view u) {
  std::string out;
  out.reserve(u.size());
  for (std::size_t i = 0; i < u.size(); ++i) {
    if (EstSurrogateHaut(u[i]) && i + 1 < u.size() && EstSurrogateBas(u[i + 1])) ++i;
    out += OctetDe1252(u[i]);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// US-ASCII (20127) with its best-fit table: every UTF-16 code unit has the ASCII byte written for
// it. Units 0..127 map to themselves; the blocks below give ASCII look-alikes of further units
// ('?' inside a block means none); every other unit becomes "?".

struct BlocBestFit {
  char16_t premier;
  std::string_view cibles;
};

constexpr BlocBestFit kBestFitUSASCII[] = {
    // Latin-1 supplement
    {0x00A0, " !c??Y|?\"Ca<?-R-"},
    {0x00B0, "??23'u?.,1o>????"},
    {0x00C0, "AAAAAAACEEEEIIII"},
    {0x00D0, "DNOOOOOxOUUUUY?s"},
    {0x00E0, "aaaaaaaceeeeiiii"},
    {0x00F0, "dnooooo?ouuuuy?y"},
    // Latin extended-A
    {0x0100, "AaAaAaCcCcCcCcDd"},
    {0x0110, "DdEeEeEeEeEeGgGg"},
    {0x0120, "GgGgHhHhIiIiIiIi"},
    {0x0130, "IiIiJjKkkLlLlLlL"},
    {0x0140, "lLlNnNnNnnNnOoOo"},
    {0x0150, "OoOoRrRrRrSsSsSs"},
    {0x0160, "SsTtTtTtUuUuUuUu"},
    {0x0170, "UuUuWwYyYZzZzZzs"},
    // Latin extended-B
    {0x0180, "b"},
    {0x0189, "D"},
    {0x0191, "Ff"},
    {0x0197, "I"},
    {0x019A, "l"},
    {0x019F, "OOo"},
    {0x01AB, "t"},
    {0x01AE, "TUu"},
    {0x01B6, "z"},
    {0x01CD, "AaIiOoUuUuUuUuUu"},
    {0x01DE, "Aa"},
    {0x01E4, "GgGgKkOoOo"},
    {0x01F0, "j"},
    // Spacing modifier letters and combining marks
    {0x02B9, "'\""},
    {0x02BC, "'"},
    {0x02C4, "^"},
    {0x02C6, "^"},
    {0x02C8, "'"},
    {0x02CB, "`"},
    {0x02CD, "_"},
    {0x02DC, "~"},
    {0x0300, "`?^~"},
    {0x030E, "\""},
    {0x0331, "__"},
    // General punctuation
    {0x2000, "           "},
    {0x2010, "------"},
    {0x2018, "'','\"\"\"\""},
    {0x2022, "."},
    {0x2024, "..."},
    {0x202F, " "},
    {0x2032, "'\""},
    {0x2035, "`"},
    {0x2039, "<>"},
    {0x2044, "/"},
    {0x205F, " "},
    // Letter-like symbols
    {0x2102, "C"},
    {0x210A, "gHHHh"},
    {0x2110, "IILl"},
    {0x2115, "N"},
    {0x2119, "PQRRR"},
    {0x2122, "T"},
    {0x2124, "Z"},
    {0x2128, "Z"},
    {0x212A, "KABC"},
    {0x212F, "eEF"},
    {0x2133, "Mo"},
    // Mathematical operators and technical brackets
    {0x2212, "-"},
    {0x2215, "/\\*"},
    {0x2223, "|"},
    {0x2236, ":"},
    {0x223C, "~"},
    {0x2329, "<>"},
    // Ideographic space and angle brackets
    {0x3000, " "},
    {0x3008, "<>"},
    // Full-width ASCII
    {0xFF01, "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"},
};

constexpr bool BlocsOrdonnes() {
  std::size_t suivant = 0x80;
  for (const BlocBestFit& bloc : kBestFitUSASCII) {
    if (bloc.premier < suivant) return false;
    suivant = bloc.premier + bloc.cibles.size();
  }
  return suivant <= 0x10000;
}
static_assert(BlocsOrdonnes(), "best-fit blocks overlap or leave the code-unit range");

// The 65,536-entry table, built once on first use and indexed directly by code unit.
const std::array<char, 65536>& TableUSASCII() {
  static const std::array<char, 65536> table = [] {
    std::array<char, 65536> t;
    t.fill('?');
    for (int u = 0; u < 0x80; ++u) t[u] = static_cast<char>(u);
    for (const BlocBestFit& bloc : kBestFitUSASCII)
      for (std::size_t k = 0; k < bloc.cibles.size(); ++k) t[bloc.premier + k] = bloc.cibles[k];
    return t;
  }();
  return table;
}

std::u16string VersUnicodeUSASCII(std::string_view t) {
  std::u16string out(t.size(), u'\0');
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto b = static_cast<unsigned char>(t[i]);
    out[i] = b < 0x80 ? b : u'?';
  }
  return out;
}

std::string DepuisUnicodeUSASCII(std::u16string_view u) {
  const auto& table = TableUSASCII();
  std::string out(u.size(), '\0');
  for (std::size_t i = 0; i < u.size(); ++i) out[i] = table[u[i]];
  return out;
}

// ---------------------------------------------------------------------------------------------
// Every other code page, through ICU's converters.

struct FermerConvertisseur {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Convertisseur = std::unique_ptr<UConverter, FermerConvertisseur>;

Convertisseur EssayerOuvrir(const std::string& nom) {
  UErrorCode statut = U_ZERO_ERROR;
  UConverter* c = ucnv_open(nom.c_str(), &statut);
  if (U_FAILURE(statut)) {
    if (c != nullptr) ucnv_close(c);
    return nullptr;
  }
  return Convertisseur(c);
}

// The converter of a Windows code-page number, or none. The UTF-16 and UTF-32 numbers are not
// byte code pages and are refused, as the platform refuses them for byte text.
Convertisseur OuvrirConvertisseur(int32_t page) {
  if (page <= 0 || page == 1200 || page == 1201 || page == 12000 || page == 12001) return nullptr;
  struct Special {
    int32_t page;
    const char* nom;
  };
  static constexpr Special kSpeciaux[] = {
      {28591, "ISO-8859-1"}, {50220, "ISO-2022-JP"}, {51932, "EUC-JP"}, {52936, "HZ"}};
  for (const Special& s : kSpeciaux)
    if (s.page == page) return EssayerOuvrir(s.nom);
  const std::string numero = std::to_string(page);
  for (const char* prefixe : {"windows-", "cp", "ibm-"})
    if (auto c = EssayerOuvrir(prefixe + numero)) return c;
  return nullptr;
}

int32_t LongueurICU(std::size_t n) {
  if (n > static_cast<std::size_t>(INT32_MAX)) throw EConvertError("Texte trop long pour la conversion");
  return static_cast<int32_t>(n);
}

// Sizing call first: a code page that cannot convert at all is "not installed"; a failing
// second call carries ICU's own error name.
std::u16string VersUnicodeICU(std::string_view t, int32_t page) {
  Convertisseur c = OuvrirConvertisseur(page);
  if (!c) PageDeCodeInconnue(page);
  const int32_t longueur = LongueurICU(t.size());
  UErrorCode statut = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(c.get(), nullptr, 0, t.data(), longueur, &statut);
  if (U_FAILURE(statut) && statut != U_BUFFER_OVERFLOW_ERROR) PageDeCodeInconnue(page);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  if (n == 0) return out;
  statut = U_ZERO_ERROR;
  ucnv_toUChars(c.get(), out.data(), n, t.data(), longueur, &statut);
  if (U_FAILURE(statut)) throw EConvertError(u_errorName(statut));
  return out;
}

std::string DepuisUnicodeICU(std::u16string_view u, int32_t page) {
  Convertisseur c = OuvrirConvertisseur(page);
  if (!c) PageDeCodeInconnue(page);
  UErrorCode statut = U_ZERO_ERROR;
  ucnv_setFallback(c.get(), false);
  ucnv_setSubstString(c.get(), u"?", 1, &statut);
  if (U_FAILURE(statut)) PageDeCodeInconnue(page);
  const int32_t longueur = LongueurICU(u.size());
  const int32_t n = ucnv_fromUChars(c.get(), nullptr, 0, u.data(), longueur, &statut);
  if (U_FAILURE(statut) && statut != U_BUFFER_OVERFLOW_ERROR) PageDeCodeInconnue(page);
  std::string out(static_cast<std::size_t>(n), '\0');
  if (n == 0) return out;
  statut = U_ZERO_ERROR;
  ucnv_fromUChars(c.get(), out.data(), n, u.data(), longueur, &statut);
  if (U_FAILURE(statut)) throw EConvertError(u_errorName(statut));
  return out;
}

bool Est1252(int32_t page) { return page == ChaineUnicode::CP_ACP || page == ChaineUnicode::CP_WINDOWS_1252; }

}  // namespace

// -----------------------------------------------------------------------------------------------
// The class-level conversions.

std::u16string ChaineUnicode::VersUnicode(std::string_view texte, int32_t page) {
  if (page == CP_UTF8) {
    std::u16string out;
    if (!DecoderUTF8(texte, out)) out.clear();
    return out;
  }
  if (page == CP_US_ASCII) return VersUnicodeUSASCII(texte);
  if (texte.empty()) return {};
  if (Est1252(page)) return VersUnicode1252(texte);
  return VersUnicodeICU(texte, page);
}

std::string ChaineUnicode::DepuisUnicode(std::u16string_view texte, int32_t page) {
  if (page == CP_UTF8) return EncoderUTF8(texte);
  if (page == CP_US_ASCII) return DepuisUnicodeUSASCII(texte);
  if (texte.empty()) return {};
  if (Est1252(page)) return DepuisUnicode1252(texte);
  return DepuisUnicodeICU(texte, page);
}

std::string ChaineUnicode::Majuscules1252(std::string_view texte) {
  std::string r(texte);
  for (char& c : r) {
    const auto o = static_cast<uint8_t>(c);
    if ((o >= 'a' && o <= 'z') || (o >= 0xE0 && o <= 0xFE && o != 0xF7)) c = static_cast<char>(o - 0x20);
    else if (o == 0x9A || o == 0x9C || o == 0x9E) c = static_cast<char>(o - 0x10);
    else if (o == 0xFF) c = static_cast<char>(0x9F);
  }
  return r;
}

std::string ChaineUnicode::Minuscules1252(std::string_view texte) {
  std::string r(texte);
  for (char& c : r) {
    const auto o = static_cast<uint8_t>(c);
    if ((o >= 'A' && o <= 'Z') || (o >= 0xC0 && o <= 0xDE && o != 0xD7)) c = static_cast<char>(o + 0x20);
    else if (o == 0x8A || o == 0x8C || o == 0x8E) c = static_cast<char>(o + 0x10);
    else if (o == 0x9F) c = static_cast<char>(0xFF);
  }
  return r;
}

std::string ChaineUnicode::VersUTF8(std::string_view texte, int32_t page) {
  if (page == CP_UTF8) return std::string(texte);
  return EncoderUTF8(VersUnicode(texte, page));
}

std::string ChaineUnicode::DepuisUTF8(std::string_view utf8, int32_t page) {
  if (page == CP_UTF8) return std::string(utf8);
  return DepuisUnicode(VersUnicode(utf8, CP_UTF8), page);
}

// -----------------------------------------------------------------------------------------------
// TChaineUnicode

NV_DEFINE_CLASS(TChaineUnicode, TObject)

void TChaineUnicode::AffecterSiDifferent(std::string& champ, std::string_view texte) {
  if (champ != texte) champ.assign(texte);
}

std::u16string TChaineUnicode::VersUnicode(std::string_view texte, int32_t page) const {
  return ChaineUnicode::VersUnicode(texte, page);
}

std::string TChaineUnicode::DepuisUnicode(std::u16string_view texte, int32_t page) const {
  return ChaineUnicode::DepuisUnicode(texte, page);
}

std::string TChaineUnicode::VersUTF8(std::string_view texte, int32_t page) const {
  return ChaineUnicode::VersUTF8(texte, page);
}

std::string TChaineUnicode::DepuisUTF8(std::string_view utf8, int32_t page) const {
  return ChaineUnicode::DepuisUTF8(utf8, page);
}

void TChaineUnicode::SetPageDeCode(int32_t page) {
  if (page == FPageDeCode) return;
  if (FEtat == EC_ChaineValide) AffecterSiDifferent(FChaineUTF8, VersUTF8(FChaine, FPageDeCode));
  FEtat = EC_UTF8Valide;
  FPageDeCode = page;
}

std::string TChaineUnicode::GetChaine(int32_t page) {
  SetPageDeCode(page);
  if (FEtat == EC_UTF8Valide) {
    AffecterSiDifferent(FChaine, DepuisUTF8(FChaineUTF8, page));
    FEtat = EC_DeuxValides;
  }
  return FChaine;
}

void TChaineUnicode::SetChaine(int32_t page, std::string_view texte) {
  if (FEtat == EC_UTF8Valide || page != FPageDeCode || texte != FChaine) {
    FPageDeCode = page;
    AffecterSiDifferent(FChaine, texte);
    FEtat = EC_ChaineValide;
  }
}

std::string TChaineUnicode::GetUTF8() {
  if (FEtat == EC_ChaineValide) {
    AffecterSiDifferent(FChaineUTF8, VersUTF8(FChaine, FPageDeCode));
    FEtat = EC_DeuxValides;
  }
  return FChaineUTF8;
}

void TChaineUnicode::SetUTF8(std::string_view texte) {
  if (FEtat == EC_ChaineValide || texte != FChaineUTF8) {
    AffecterSiDifferent(FChaineUTF8, texte);
    FEtat = EC_UTF8Valide;
  }
}
