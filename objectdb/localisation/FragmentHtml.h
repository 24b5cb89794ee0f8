// A text whose stored forms are a fragment of HTML: its UTF-16 form holds the real characters from
// 128 up and entities for the characters that HTML reserves; its code-page form writes every
// character that the code page lacks as a character reference, named when the entity table names
// it. The type of the HTML column of the translation rows.
#pragma once

#include "core/values/ChaineUnicode.h"
#include "objectdb/localisation/EntiteHtml.h"

class TFragmentHtml : public TChaineUnicode {
  NV_DECLARE_CLASS(TFragmentHtml)
 public:
  TFragmentHtml() = default;
  explicit TFragmentHtml(TBlank b) : TChaineUnicode(b) {}

  // The entity table to convert with (not owned); without one, no entity has a name.
  const TypeTableEntitesHtml* Entites = nullptr;

  std::u16string VersUnicode(std::string_view texte, int32_t page) const override;
  std::string DepuisUnicode(std::u16string_view texte, int32_t page) const override;
  std::string VersUTF8(std::string_view texte, int32_t page) const override;
  std::string DepuisUTF8(std::string_view utf8, int32_t page) const override;

 private:
  const TypeTableEntitesHtml& Table() const;
};
