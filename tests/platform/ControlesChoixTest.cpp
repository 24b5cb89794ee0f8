// The choice controls driven as a user would, and the font dialog and input box with and without a
// provider.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/ControlesChoix.h"
#include "platform/gui/DialoguesSaisie.h"
#include "platform/gui/Saisie.h"

namespace {

struct FicheChoix : ::testing::Test {
  TForm fiche{nullptr};
  void SetUp() override {
    fiche.SetBounds(0, 0, 400, 300);
    fiche.Show();
  }
  template <class T>
  T* Poser(int Left, int Top, int Width, int Height) {
    auto* c = new T(&fiche);
    c->SetParent(&fiche);
    c->SetBounds(Left, Top, Width, Height);
    return c;
  }
  void Taper(const std::string& Texte) {
    for (char c : Texte) Saisie::Caractere(fiche, c);
  }
};

}  // namespace

TEST_F(FicheChoix, CheckBoxesToggleAndRadioButtonsExcludeTheirNeighbours) {
  auto* boite = Poser<TCheckBox>(10, 10, 100, 17);
  boite->SetCaption("&Autosize");
  int clics = 0;
  boite->OnClick = [&](TComponent*) { ++clics; };
  ASSERT_TRUE(Saisie::Cliquer(*boite));
  EXPECT_TRUE(boite->Checked());
  Saisie::Touche(fiche, VK_SPACE);  // focused by nobody yet: Space is only a dialog key
  EXPECT_TRUE(boite->Checked());
  boite->SetFocus();
  Saisie::Touche(fiche, VK_SPACE);
  EXPECT_FALSE(boite->Checked());
  fiche.SetActiveControl(nullptr);
  Saisie::Caractere(fiche, 'a');  // the accelerator
  EXPECT_TRUE(boite->Checked());
  EXPECT_EQ(clics, 3);
  boite->SetChecked(true);  // no change, no click
  EXPECT_EQ(clics, 3);

  auto* groupe = Poser<TGroupBox>(10, 40, 200, 100);
  auto radio = [&](int Top) {
    auto* r = new TRadioButton(&fiche);
    r->SetParent(groupe);
    r->SetBounds(8, Top, 100, 17);
    return r;
  };
  TRadioButton* a = radio(4);
  TRadioButton* b = radio(30);
  auto* ailleurs = Poser<TRadioButton>(220, 40, 100, 17);
  ailleurs->SetChecked(true);
  a->SetChecked(true);
  ASSERT_TRUE(Saisie::Cliquer(*b));
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(ailleurs->Checked());  // another parent, another group
  a->SetEnabled(false);
  EXPECT_FALSE(Saisie::Cliquer(*a));
  EXPECT_FALSE(a->Checked());
}

TEST_F(FicheChoix, ListBoxSelectsByClickAndArrows) {
  auto* liste = Poser<TListBox>(10, 10, 120, 100);
  liste->SetItems({"Un", "Deux", "Trois"});
  EXPECT_EQ(liste->ItemIndex(), -1);
  EXPECT_EQ(liste->Selection(), "");
  int clics = 0;
  liste->OnClick = [&](TComponent*) { ++clics; };
  // The second line of items, in form coordinates.
  Saisie::EnfoncerSouris(fiche, {20, 10 + 2 + TListBox::kHauteurElement + 3});
  Saisie::RelacherSouris(fiche, {20, 10 + 2 + TListBox::kHauteurElement + 3});
  EXPECT_EQ(liste->Selection(), "Deux");
  EXPECT_TRUE(liste->Focused());
  Saisie::Touche(fiche, VK_DOWN);
  EXPECT_EQ(liste->Selection(), "Trois");
  Saisie::Touche(fiche, VK_DOWN);  // already the last: nothing
  Saisie::Touche(fiche, VK_HOME);
  EXPECT_EQ(liste->ItemIndex(), 0);
  EXPECT_EQ(clics, 3);
  // Below the last item: no selection change.
  Saisie::EnfoncerSouris(fiche, {20, 100});
  EXPECT_EQ(liste->ItemIndex(), 0);
  liste->SetItemIndex(7);
  EXPECT_EQ(liste->ItemIndex(), -1);
}

TEST_F(FicheChoix, StringGridEntersACellAndReportsTheText) {
  auto* grille = Poser<TStringGrid>(0, 0, 300, 200);
  grille->SetColCount(2);
  grille->SetRowCount(3);
  grille->SetCells(0, 0, "Name");
  grille->SetCells(0, 1, "A");
  std::vector<std::string> vus;
  grille->OnSetEditText = [&](TComponent*, int c, int r, const std::string& v) {
    vus.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
  };
  // The heading row is not selectable.
  Saisie::Cliquer(*grille);
  Saisie::EnfoncerSouris(fiche, {5, 5});
  EXPECT_GE(grille->Row(), 1);
  // Cell (1, 2): typing replaces, Enter stores.
  const int x = grille->DefaultColWidth + 5, y = 2 * (grille->DefaultRowHeight + 1) + 5;
  Saisie::EnfoncerSouris(fiche, {x, y});
  Saisie::RelacherSouris(fiche, {x, y});
  ASSERT_EQ(grille->Col(), 1);
  ASSERT_EQ(grille->Row(), 2);
  Taper("1+2");
  EXPECT_TRUE(grille->EditorMode());
  EXPECT_EQ(grille->Cells(1, 2), "");
  Saisie::Touche(fiche, VK_RETURN);
  EXPECT_EQ(grille->Cells(1, 2), "1+2");
  // Escape drops an entry; F2 keeps the text and edits it.
  Taper("x");
  Saisie::Touche(fiche, VK_ESCAPE);
  EXPECT_EQ(grille->Cells(1, 2), "1+2");
  Saisie::Touche(fiche, TStringGrid::VK_F2);
  Taper("+3");
  Saisie::Caractere(fiche, '\b');
  Taper("4");
  Saisie::Touche(fiche, VK_RETURN);
  EXPECT_EQ(grille->Cells(1, 2), "1+2+4");
  EXPECT_EQ(vus, (std::vector<std::string>{"1,2=1+2", "1,2=1+2+4"}));
  // Outside the grid nothing is stored.
  grille->SetCells(5, 5, "z");
  EXPECT_EQ(grille->Cells(5, 5), "");
}

TEST_F(FicheChoix, MaskedEditTakesOnlyTheDigitsItsMaskHasRoomFor) {
  auto* e = Poser<TMaskEdit>(10, 10, 60, 21);
  e->EditMask = "9999";
  e->SetFocus();
  Taper("12a3x456");
  EXPECT_EQ(e->Text(), "1234");
  // A text the program sets is kept as it is; a selection makes room again.
  e->SetText("2.5");
  EXPECT_EQ(e->Text(), "2.5");
  e->SelectAll();
  Taper("7");
  EXPECT_EQ(e->Text(), "7");
}

TEST_F(FicheChoix, ScrollBoxMovesItsChildrenWithinItsRange) {
  auto* boite = Poser<TScrollBox>(0, 0, 200, 80);
  auto* enfant = new TEdit(&fiche);
  enfant->SetParent(boite);
  enfant->SetTop(100);
  boite->Increment = 40;
  boite->SetRange(160);
  EXPECT_TRUE(Saisie::Molette(fiche, {10, 10}, -120));
  EXPECT_EQ(boite->Position(), 40);
  EXPECT_EQ(enfant->Top(), 60);
  boite->SetPosition(500);
  EXPECT_EQ(boite->Position(), 160 - boite->ClientHeight());
  boite->SetPosition(-5);
  EXPECT_EQ(enfant->Top(), 100);
}

TEST(DialoguesSaisie, WithoutAProviderTheDialogsAreCancelled) {
  TFontDialog dialogue(nullptr);
  dialogue.Font.Name = "Arial";
  EXPECT_FALSE(dialogue.Execute());
  EXPECT_EQ(dialogue.Font.Name, "Arial");
  std::string valeur = "3";
  EXPECT_FALSE(InputQuery("Titre", "Invite", valeur));
  EXPECT_EQ(valeur, "3");
  EXPECT_EQ(InputBox("Titre", "Invite", "7"), "7");
}

TEST(DialoguesSaisie, AProviderAnswersOrCancels) {
  std::vector<std::string> vus;
  bool accepter = true;
  DialoguesSaisie::DefinirFournisseurSaisie([&](const std::string& l, const std::string& i, std::string& v) {
    vus.push_back(l + "|" + i + "|" + v);
    v = "12";
    return accepter;
  });
  DialoguesSaisie::DefinirFournisseurPolice([&](TFont& f) {
    vus.push_back(f.Name);
    f.Name = "Courier New";
    f.SetSize(12);
    return accepter;
  });
  TFontDialog dialogue(nullptr);
  dialogue.Font.Name = "Arial";
  EXPECT_TRUE(dialogue.Execute());
  EXPECT_EQ(dialogue.Font.Name, "Courier New");
  EXPECT_EQ(dialogue.Font.Size(), 12);
  EXPECT_EQ(InputBox("Page", "Aller", "1"), "12");
  accepter = false;
  dialogue.Font.Name = "Arial";
  EXPECT_FALSE(dialogue.Execute());
  EXPECT_EQ(dialogue.Font.Name, "Arial");
  EXPECT_EQ(InputBox("Page", "Aller", "4"), "4");
  DialoguesSaisie::DefinirFournisseurSaisie(nullptr);
  DialoguesSaisie::DefinirFournisseurPolice(nullptr);
  EXPECT_EQ(vus, (std::vector<std::string>{"Arial", "Page|Aller|1", "Arial", "Page|Aller|4"}));
}
