// HTML entities and fragments: the searches of the entity table, the conversions between named
// entities and decimal references with their three errors, and the fragment's conversions.
#include <gtest/gtest.h>

#include <functional>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "objectdb/localisation/EntiteHtml.h"
#include "objectdb/localisation/FragmentHtml.h"

namespace {

TypeTableEntitesHtml Table() {
  return TypeTableEntitesHtml::Construire(
      {{233, "&eacute;"}, {38, "&amp;"}, {60, "&lt;"}, {62, "&gt;"}, {201, "&Eacute;"}});
}

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "(no error)";
}

}  // namespace

TEST(EntiteHtml, TheSearchesFindTheLeftmostEqualEntryOrTheInsertionPoint) {
  TypeTableEntitesHtml t = TypeTableEntitesHtml::Construire({{60, "&lt;"}, {60, "&LT;"}, {60, "&lt2;"}, {233, "&eacute;"}});
  int32_t p = -1;
  EXPECT_TRUE(t.ChercherCode(60, p));
  EXPECT_EQ(p, 0);
  EXPECT_EQ(t.NomEntite(60), "&lt;");  // the first entry made among the equal codes
  EXPECT_FALSE(t.ChercherCode(100, p));
  EXPECT_EQ(p, 3);
  EXPECT_FALSE(t.ChercherCode(1000, p));
  EXPECT_EQ(p, 4);
  t.NomParDefaut = "?";
  EXPECT_EQ(t.NomEntite(1000), "?");
  uint32_t code = 0;
  EXPECT_TRUE(t.CodeEntite("&LT;", code));
  EXPECT_FALSE(t.CodeEntite("&Lt;", code));  // names keep their case
  // Names in byte order: "&LT;", "&eacute;", "&lt2;", "&lt;"; a shorter name before a longer one.
  EXPECT_FALSE(t.ChercherNom("&lt", p));
  EXPECT_EQ(p, 2);
}

TEST(EntiteHtml, NamedEntitiesAndReferencesConvertBothWays) {
  const TypeTableEntitesHtml t = Table();
  EXPECT_EQ(EntiteHtml::EntitesNommeesVersNumeriques(t, "&eacute;t&Eacute; &#65; &lt;b&gt;"),
            "&#233;t&#201; &#65; &#60;b&#62;");
  EXPECT_EQ(EntiteHtml::EntitesNumeriquesVersNommees(t, "&#233;t&#65; &#60;b&#62; fin"), "&eacute;t&#65; &lt;b&gt; fin");
  EXPECT_EQ(EntiteHtml::EntitesNumeriquesVersNommeesUnicode(t, u"\u00e9 &#38;"), u"\u00e9 &amp;");
}

TEST(EntiteHtml, MalformedEntitiesRaiseTheirMessages) {
  const TypeTableEntitesHtml t = Table();
  const struct {
    std::string texte, message;
  } cas[] = {
      {"ab & c", "Une entité html n'est pas terminée dans la chaîne 'ab & c' à la position 4"},
      {"x&#70000;", "L'entité HTML '&#70000;' est invalide, chaîne 'x&#70000;', position 2"},
      {"&#;", "L'entité HTML '&#;' est invalide, chaîne '&#;', position 1"},
      {"&#-1;", "L'entité HTML '&#-1;' est invalide, chaîne '&#-1;', position 1"},
      {"a &nbsp;", "L'entité HTML '&nbsp;' est inconnue"},
      {"&EACUTE;", "L'entité HTML '&EACUTE;' est inconnue"},
  };
  for (const auto& c : cas) {
    const std::string attendu = ChaineUnicode::DepuisUTF8(c.message, 1252);
    EXPECT_EQ(Message([&] { (void)EntiteHtml::EntitesNommeesVersNumeriques(t, c.texte); }), attendu) << c.texte;
  }
  EXPECT_EQ(Message([&] { (void)EntiteHtml::EntitesNumeriquesVersNommees(t, "&#70000;"); }),
            ChaineUnicode::DepuisUTF8("L'entité HTML '&#70000;' est invalide, chaîne '&#70000;', position 1", 1252));
}

TEST(FragmentHtml, TheUnicodeFormHoldsRealCharactersAndEntitiesForWhatHtmlReserves) {
  const TypeTableEntitesHtml t = Table();
  TFragmentHtml f;
  f.Entites = &t;
  EXPECT_EQ(f.VersUnicode("&eacute;t&eacute; &lt;b&gt;", 1252), u"\u00e9t\u00e9 &lt;b&gt;");
  EXPECT_EQ(f.VersUnicode("&#8364; &#38;", 1252), u"\u20ac &amp;");
  EXPECT_EQ(f.DepuisUnicode(u"\u00e9t\u00e9", 20127), "&eacute;t&eacute;");
  EXPECT_EQ(f.DepuisUnicode(u"\u00e9t\u00e9", 1252), "été"_ansi);
  EXPECT_EQ(f.DepuisUnicode(u"\u03b1 \u00e9", 1252), "&#945; " + std::string("é"_ansi));
  EXPECT_EQ(f.DepuisUTF8("été", 20127), "&eacute;t&eacute;");
  EXPECT_EQ(f.VersUTF8("&eacute;&#945;", 1252), "éα");
  // A fragment stored in 1252 comes back in UTF-8 through the same conversions.
  f.SetChaine(1252, "&eacute;t&eacute; &lt;");
  EXPECT_EQ(f.GetUTF8(), "été &lt;");
}
