// The one place where text changes encoding. TChaineUnicode holds a text both as the bytes of a
// Windows code page and as UTF-8 and converts lazily between the two; it is the value type of the
// translation rows. The conversions themselves (code page <-> UTF-16 <-> UTF-8) are unit routines.
//
// Code pages are Windows code-page numbers. 0 and 1252 are Windows-1252 and 20127 is US-ASCII
// with a best-fit table, both by tables of our own; 65001 is UTF-8 and UTF-16 is std::u16string,
// by our own code; every other code page goes through ICU. The process locale plays no part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/objects/ClassDescriptor.h"
#include "core/values/ChaineRessource.h"

namespace ChaineUnicode {

inline constexpr int32_t CP_ACP = 0;  // the system's ANSI code page, which is 1252 here
inline constexpr int32_t CP_WINDOWS_1252 = 1252;
inline constexpr int32_t CP_US_ASCII = 20127;
inline constexpr int32_t CP_UTF8 = 65001;

// Message of the conversion error raised for a code page that cannot be converted (argument: the
// code-page number).
extern const TChaineRessource RS_PageDeCodeInconnue_D;

// Registers the unit's resource strings.
void Initialiser();

// Text in code page `page` to UTF-16. For UTF-8 a malformed or truncated sequence anywhere makes
// the whole result empty; for US-ASCII every byte from 128 up becomes "?". Raises EConvertError
// (RS_PageDeCodeInconnue_D) for a non-empty text in a code page that cannot be converted.
std::u16string VersUnicode(std::string_view texte, int32_t page);

// UTF-16 to code page `page`; a character that the code page lacks becomes "?" (US-ASCII uses
// its best-fit table: "é" becomes "e"). A surrogate pair is one character (one 4-byte UTF-8
// sequence); a lone surrogate is not a character and is written as U+FFFD in UTF-8.
std::string DepuisUnicode(std::u16string_view texte, int32_t page);

// Windows-1252 text in upper case: the ASCII letters, the accented letters (not the division sign),
// and the four small letters whose capital lies in the 0x80 block (š, œ, ž, ÿ). ß has no capital.
std::string Majuscules1252(std::string_view texte);
// Windows-1252 text in lower case, the inverse mapping: the ASCII letters, the accented capitals
// (not the multiplication sign), and Š, Œ, Ž, Ÿ to their small letters.
std::string Minuscules1252(std::string_view texte);

// Text in code page `page` to UTF-8 (returned unchanged, unchecked, when `page` is UTF-8).
std::string VersUTF8(std::string_view texte, int32_t page);

// UTF-8 to code page `page` (returned unchanged when `page` is UTF-8); malformed UTF-8 gives "".
std::string DepuisUTF8(std::string_view utf8, int32_t page);

}  // namespace ChaineUnicode

enum TypeEtatChaineUnicode : uint8_t {
  EC_ChaineValide = 0,  // only the code-page form is up to date
  EC_UTF8Valide = 1,    // only the UTF-8 form is up to date
  EC_DeuxValides = 2,   // both are
};

// A text held in a code page and in UTF-8. The form that the state names is authoritative; the
// other may be stale and is rebuilt (through the four virtual conversions) before it is returned.
// A form is assigned, and the state changed, only after its conversion succeeded. One thread at
// a time.
class TChaineUnicode : public TObject {
  NV_DECLARE_CLASS(TChaineUnicode)

 public:
  TChaineUnicode() = default;
  explicit TChaineUnicode(TBlank) {}

  int32_t PageDeCode() const { return FPageDeCode; }
  TypeEtatChaineUnicode Etat() const { return FEtat; }

  // Makes `page` the code page of the code-page form (converting to UTF-8 first when that form
  // is the only valid one).
  void SetPageDeCode(int32_t page);
  // The text in code page `page`, converted from UTF-8 when needed.
  std::string GetChaine(int32_t page);
  // Stores a text given in code page `page`.
  void SetChaine(int32_t page, std::string_view texte);
  // The UTF-8 form, converted from the code-page form when needed.
  std::string GetUTF8();
  void SetUTF8(std::string_view texte);

  // Assigns `texte` to `champ` only when they differ.
  static void AffecterSiDifferent(std::string& champ, std::string_view texte);

  // How every instance converts; a descendant overrides them to convert differently. The base
  // versions call the unit routines of the same name (ChaineUnicode::VersUnicode ...), which are
  // the class-level conversions usable without an instance.
  virtual std::u16string VersUnicode(std::string_view texte, int32_t page) const;
  virtual std::string DepuisUnicode(std::u16string_view texte, int32_t page) const;
  virtual std::string VersUTF8(std::string_view texte, int32_t page) const;
  virtual std::string DepuisUTF8(std::string_view utf8, int32_t page) const;

 private:
  std::string FChaine;
  std::string FChaineUTF8;
  int32_t FPageDeCode = 0;
  TypeEtatChaineUnicode FEtat = EC_DeuxValides;
};
