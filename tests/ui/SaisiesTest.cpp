// The in-place entry field, driven by the scripted driver: keys and characters injected into the
// field while its loop waits, events posted to the loop, stops.
#include "ui/Saisies.h"

#include <boost/asio/post.hpp>

#include <stdexcept>
#include <string>

#include "FenetresEssai.h"
#include "platform/gui/Saisie.h"
#include "platform/ui/SaisieEnCours.h"

namespace {

using TV = TypeToucheDeValidation;

class SaisiesEssai : public FenetresEssai {
 public:
  void SetUp() override {
    FenetresEssai::SetUp();
    fiche = std::make_unique<TForm>(nullptr);
    fiche->SetBounds(0, 0, 400, 300);
    panneau = new TPanel(fiche.get());
    panneau->SetParent(fiche.get());
    panneau->SetBounds(10, 10, 300, 200);
    autre = new TEdit(fiche.get());
    autre->SetParent(fiche.get());
    autre->SetBounds(10, 250, 100, 20);
    fiche->Show();
  }
  void TearDown() override {
    fiche.reset();
    FenetresEssai::TearDown();
  }
  // An entry over (20, 30, 120, 51) of the panel.
  bool Editer(std::string& Texte, uint8_t Obligatoire = 0, uint16_t Longueur = 30, TRoutineTouche Routine = nullptr,
              uint8_t TypeDonnee = 0) {
    finale = TV::tvAucune;
    return Saisies::EditerZone(panneau, TypeDonnee, {20, 30, 120, 51}, Longueur, 1, Obligatoire, false,
                               std::move(Routine), finale, Texte);
  }
  void Taper(const std::string& Texte) {
    for (char c : Texte) Saisie::Caractere(*fiche, c);
  }
  void Poster(std::function<void()> Action) { boost::asio::post(boucle->Context(), std::move(Action)); }

  std::unique_ptr<TForm> fiche;
  TPanel* panneau = nullptr;
  TEdit* autre = nullptr;
  TV finale = TV::tvAucune;
};

TEST_F(SaisiesEssai, HowAnEntryEnds) {
  struct Cas {
    const char* nom;
    uint8_t obligatoire;
    const char* initial;
    std::function<void(SaisiesEssai&, TWinControl&)> script;
    bool resultat;
    const char* texte;
    uint8_t drapeaux;
    TV finale;
  };
  const Cas cas[] = {
      {"Enter validates, the text copied", 0, "abc",
       [](SaisiesEssai& t, TWinControl&) { t.Taper("de"), Saisie::Touche(*t.fiche, VK_RETURN); }, true, "abcde",
       fsValidee | fsParTouche, TV::tvRetour},
      {"Enter typed as a character validates", 0, "abc",
       [](SaisiesEssai& t, TWinControl&) { t.Taper("d\r"); }, true, "abcd", fsValidee, TV::tvAucune},
      {"Escape abandons", 0, "abc",
       [](SaisiesEssai& t, TWinControl&) { t.Taper("x"), Saisie::Touche(*t.fiche, VK_ESCAPE); }, false, "abc",
       fsAbandonnee, TV::tvAucune},
      {"Escape typed as a character abandons", 0, "abc", [](SaisiesEssai& t, TWinControl&) { t.Taper("x\x1b"); },
       false, "abc", fsAbandonnee, TV::tvAucune},
      {"a required field left empty: Enter ignored, leaving abandons", 1, "",
       [](SaisiesEssai& t, TWinControl&) {
         Saisie::Touche(*t.fiche, VK_RETURN), t.Taper("\r");
         EXPECT_EQ(Saisies::Drapeaux(), 0);
         t.autre->SetFocus();
       },
       false, "", fsAbandonnee, TV::tvRetour},
      {"a required field emptied and ended by TerminerSaisie(false) counts as abandoned", 1, "ab",
       [](SaisiesEssai& t, TWinControl&) {
         t.Taper("\b\b"), Saisie::Touche(*t.fiche, VK_RETURN);
         EXPECT_TRUE(Saisies::TerminerSaisie(false));
       },
       false, "ab", fsValidee | fsParTouche | fsEnQuittant | fsAbandonnee, TV::tvRetour},
      {"leaving the field validates", 0, "ab",
       [](SaisiesEssai& t, TWinControl&) { t.Taper("c"), t.autre->SetFocus(); }, true, "abc",
       fsValidee | fsParTouche | fsEnQuittant, TV::tvAucune},
      {"a stop of the application abandons", 0, "ab", [](SaisiesEssai& t, TWinControl&) { t.Taper("c"); }, false,
       "ab", fsAbandonnee, TV::tvAucune},
      {"the lower layers abandon it through SaisieEnCours", 0, "ab",
       [](SaisiesEssai&, TWinControl&) {
         EXPECT_TRUE(SaisieEnCours::EntreeEnCours());
         EXPECT_TRUE(SaisieEnCours::TerminerSaisie(true));
       },
       false, "ab", fsAbandonnee, TV::tvAucune},
  };
  Saisies::Initialiser();
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    boucle = std::make_unique<MainLoop>([] {}, [] {});
    Application().DefinirBoucle(boucle.get());
    TWinControl* vu = nullptr;
    pilote.ScriptSaisie = [&](TWinControl& champ) {
      vu = &champ;
      EXPECT_TRUE(champ.Focused());
      EXPECT_EQ(champ.BoundsRect(), (TRect{20, 30, 119, 50}));
      c.script(*this, champ);
    };
    std::string texte = c.initial;
    EXPECT_EQ(Editer(texte, c.obligatoire), c.resultat);
    EXPECT_NE(vu, nullptr);
    EXPECT_EQ(texte, c.texte);
    EXPECT_EQ(Saisies::Drapeaux(), c.drapeaux);
    EXPECT_EQ(finale, c.finale);
    EXPECT_FALSE(Saisies::EntreeEnCours());
    EXPECT_FALSE(SaisieEnCours::TerminerSaisie(true));
    EXPECT_EQ(panneau->ControlCount(), 0);  // the field is freed
  }
  Saisies::Finaliser();
}

TEST_F(SaisiesEssai, AKeyRoutineAnsweringTrueEndsTheEntryByAKeyUnlessARequiredFieldIsEmpty) {
  std::vector<std::pair<bool, bool>> bornes;  // AuDebut, AuFin of each key
  auto routine = [&](int Key, uint8_t, bool AuDebut, TV& Finale, bool AuFin) {
    bornes.emplace_back(AuDebut, AuFin);
    if (Key != VK_DOWN) return false;
    Finale = TV::tvFlecheBas;
    return true;
  };
  pilote.ScriptSaisie = [&](TWinControl& champ) {
    auto& e = static_cast<TEdit&>(champ);
    Saisie::Touche(*fiche, VK_HOME);
    Saisie::Touche(*fiche, VK_RIGHT);
    Saisie::Touche(*fiche, VK_END, ssShift);
    EXPECT_EQ(e.SelText(), "b");
    Saisie::Touche(*fiche, VK_TAB);  // Tab reaches the routine too
    Saisie::Touche(*fiche, VK_DOWN);
  };
  std::string texte = "ab";
  EXPECT_TRUE(Editer(texte, 1, 30, routine));
  EXPECT_EQ(texte, "ab");
  EXPECT_EQ(Saisies::Drapeaux(), fsValidee | fsParTouche);
  EXPECT_EQ(finale, TV::tvFlecheBas);
  const std::vector<std::pair<bool, bool>> attendu = {
      {false, true}, {true, false}, {false, false}, {false, false}, {false, false}};
  EXPECT_EQ(bornes, attendu);

  // Required and empty: the routine's true does not end it; Escape does.
  pilote.ScriptSaisie = [&](TWinControl&) {
    Saisie::Touche(*fiche, VK_DOWN);
    EXPECT_EQ(Saisies::Drapeaux(), 0);
    Saisie::Touche(*fiche, VK_ESCAPE);
  };
  texte.clear();
  EXPECT_FALSE(Editer(texte, 1, 30, routine));
  EXPECT_EQ(Saisies::Drapeaux(), fsAbandonnee);
}

TEST_F(SaisiesEssai, ExceptionsWhileTheEntryIsOpenAreShownAndMarkItButItGoesOn) {
  int montrees = 0;
  Application().OnException = [&](TComponent*, const std::exception& e) {
    ++montrees;
    EXPECT_STREQ(e.what(), "panne");
  };
  pilote.ArreterSansReponse = false;
  pilote.ScriptSaisie = [&](TWinControl&) {
    Saisie::Touche(*fiche, VK_UP);  // the key routine raises
    EXPECT_EQ(Saisies::Drapeaux(), fsExceptionAffichee);
    Poster([] { throw std::runtime_error("panne"); });  // an event of the loop raises
    Poster([&] {
      EXPECT_TRUE(Saisies::EntreeEnCours());
      Taper("z");
      Saisie::Touche(*fiche, VK_RETURN);
    });
  };
  auto routine = [](int Key, uint8_t Shift, bool AuDebut, TV& Finale, bool AuFin) {
    if (Key == VK_UP) throw std::runtime_error("panne");
    return Saisies::TouchePourValiderParDefaut(Key, Shift, AuDebut, Finale, AuFin);
  };
  std::string texte = "a";
  EXPECT_TRUE(Editer(texte, 0, 30, routine));
  EXPECT_EQ(texte, "az");
  EXPECT_EQ(montrees, 2);
  EXPECT_EQ(Saisies::Drapeaux(), fsValidee | fsParTouche | fsExceptionAffichee);
  EXPECT_EQ(finale, TV::tvRetour);
  // The handlers are given back.
  Application().OnException(nullptr, std::runtime_error("panne"));
  EXPECT_EQ(montrees, 3);
  EXPECT_EQ(Saisies::Drapeaux(), fsValidee | fsParTouche | fsExceptionAffichee);
  boucle->CurrentExceptionHandler()(std::make_exception_ptr(std::runtime_error("après")));
  EXPECT_EQ(montrees, 3);
  Application().OnException = nullptr;
}

TEST_F(SaisiesEssai, AnEntryAskedForWhileOneIsOpenEndsThatOneValidatedAndOpensNone) {
  bool interieure = true;
  pilote.ScriptSaisie = [&](TWinControl&) {
    Taper("b");
    std::string autreTexte = "x";
    TV autreFinale = TV::tvPageBas;
    interieure = Saisies::EditerZone(panneau, 0, {0, 0, 50, 20}, 10, 0, 0, true, nullptr, autreFinale, autreTexte);
    EXPECT_EQ(autreTexte, "x");
    EXPECT_EQ(autreFinale, TV::tvPageBas);
  };
  std::string texte = "a";
  EXPECT_TRUE(Editer(texte));
  EXPECT_FALSE(interieure);
  EXPECT_EQ(pilote.Entrees, 1);
  EXPECT_EQ(texte, "ab");
  EXPECT_EQ(Saisies::Drapeaux(), fsValidee | fsParTouche | fsEnQuittant);
}

TEST_F(SaisiesEssai, LengthIsHeldTo1To255AndType5TakesDigitsOnly) {
  struct Cas {
    uint16_t longueur;
    uint8_t type;
    std::string initial, tape, attendu;
  };
  const Cas cas[] = {
      {3, 0, "abcdef", "g", "abc"},
      {0, 0, "", "xy", "x"},
      {1000, 0, std::string(300, 'a'), "b", std::string(255, 'a')},
      {10, 5, "1", "2a-3 ", "123"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.longueur);
    pilote.ScriptSaisie = [&](TWinControl&) { Taper(c.tape), Saisie::Touche(*fiche, VK_RETURN); };
    std::string texte = c.initial;
    EXPECT_TRUE(Editer(texte, 0, c.longueur, nullptr, c.type));
    EXPECT_EQ(texte, c.attendu);
  }
}

TEST_F(SaisiesEssai, AFieldFreedWithItsParentAbandonsTheEntry) {
  pilote.ArreterSansReponse = false;
  pilote.ScriptSaisie = [&](TWinControl&) {
    Poster([&] {
      delete panneau;
      panneau = nullptr;
    });
  };
  std::string texte = "a";
  TPanel* p = panneau;
  finale = TV::tvAucune;
  EXPECT_FALSE(Saisies::EditerZone(p, 0, {0, 0, 50, 20}, 10, 0, 0, false, nullptr, finale, texte));
  EXPECT_EQ(texte, "a");
  EXPECT_EQ(Saisies::Drapeaux(), fsAbandonnee);
  EXPECT_FALSE(Saisies::EntreeEnCours());
}

TEST_F(SaisiesEssai, TheProductionDriverAbandonsAnEntryNobodyAnswers) {
  Application().DefinirPiloteModal(nullptr);
  std::string texte = "a";
  EXPECT_FALSE(Editer(texte));
  EXPECT_EQ(Saisies::Drapeaux(), fsAbandonnee);
}

}  // namespace
