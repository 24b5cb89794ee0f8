#include "objectdb/localisation/FragmentHtml.h"

#include <string>

NV_DEFINE_CLASS(TFragmentHtml, TChaineUnicode)

namespace {
bool EstChiffre(char16_t c) { return c >= u'0' && c <= u'9'; }
}  // namespace

const TypeTableEntitesHtml& TFragmentHtml::Table() const {
  static const TypeTableEntitesHtml vide;
  return Entites != nullptr ? *Entites : vide;
}

std::u16string TFragmentHtml::VersUnicode(std::string_view texte, int32_t page) const {
  std::u16string w = TChaineUnicode::VersUnicode(EntiteHtml::EntitesNommeesVersNumeriques(Table(), texte), page);
  bool resteReference = false;
  std::size_t i = 0;
  while (i + 1 < w.size()) {
    if (w[i] != u'&' || w[i + 1] != u'#') {
      ++i;
      continue;
    }
    std::size_t j = i + 2;
    uint32_t valeur = 0;
    while (j < w.size() && EstChiffre(w[j])) {
      if (valeur <= 0xFFFF) valeur = valeur * 10 + static_cast<uint32_t>(w[j] - u'0');
      ++j;
    }
    const std::size_t fin = j < w.size() && w[j] == u';' ? j + 1 : j;
    if (valeur >= 128 && valeur <= 0xFFFF) {
      w.replace(i, fin - i, 1, static_cast<char16_t>(valeur));
      ++i;
    } else {
      resteReference = true;
      i = fin;
    }
  }
  return resteReference ? EntiteHtml::EntitesNumeriquesVersNommeesUnicode(Table(), w) : w;
}

std::string TFragmentHtml::DepuisUnicode(std::u16string_view texte, int32_t page) const {
  std::u16string w(texte);
  std::string t3;
  for (;;) {
    t3 = TChaineUnicode::DepuisUnicode(w, page);
    const std::u16string w2 = TChaineUnicode::VersUnicode(t3, page);
    if (w2 == w) break;
    std::size_t i = 0;
    while (i < w.size() && i < w2.size() && w[i] == w2[i]) ++i;
    if (i >= w.size()) break;
    const char16_t c = w[i];
    // A code page that cannot hold the characters of a reference itself cannot be helped; stop
    // rather than write references forever.
    if (c == u'&' || c == u'#' || c == u';' || EstChiffre(c)) break;
    const std::u16string reference = u"&#" + std::u16string(ChaineUnicode::VersUnicode(std::to_string(c), 0)) + u";";
    for (std::size_t k = i; k < w.size();) {
      if (w[k] == c) {
        w.replace(k, 1, reference);
        k += reference.size();
      } else {
        ++k;
      }
    }
  }
  return EntiteHtml::EntitesNumeriquesVersNommees(Table(), t3);
}

std::string TFragmentHtml::VersUTF8(std::string_view texte, int32_t page) const {
  return ChaineUnicode::DepuisUnicode(VersUnicode(texte, page), ChaineUnicode::CP_UTF8);
}

std::string TFragmentHtml::DepuisUTF8(std::string_view utf8, int32_t page) const {
  return DepuisUnicode(ChaineUnicode::VersUnicode(utf8, ChaineUnicode::CP_UTF8), page);
}
