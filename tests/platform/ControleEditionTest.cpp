#include "platform/gui/ControleEdition.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

namespace {

class ControleEdition : public ::testing::Test {
 protected:
  void SetUp() override {
    fiche = std::make_unique<TForm>(nullptr);
    edit = new TEdit(fiche.get());
    edit->SetParent(fiche.get());
    edit->OnChange = [this](TComponent*) { ++changements; };
    fiche->Show();
    edit->SetFocus();
  }
  void Taper(const std::string& Texte) {
    for (char c : Texte) Saisie::Caractere(*fiche, c);
  }
  void Touche(int T, uint8_t Shift = 0) { Saisie::Touche(*fiche, T, Shift); }

  std::unique_ptr<TForm> fiche;
  TEdit* edit = nullptr;
  int changements = 0;
};

TEST_F(ControleEdition, TypingMovesTheCaretAndReplacesTheSelection) {
  Taper("hello");
  EXPECT_EQ(edit->Text(), "hello");
  EXPECT_EQ(edit->Caret(), 5);
  EXPECT_EQ(changements, 5);
  Touche(VK_HOME);
  Touche(VK_RIGHT);
  Touche(VK_RIGHT, ssShift);
  Touche(VK_RIGHT, ssShift);
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 2);
  EXPECT_EQ(edit->SelText(), "el");
  Taper("a");
  EXPECT_EQ(edit->Text(), "halo");
  EXPECT_EQ(edit->Caret(), 2);
  Touche(VK_LEFT, ssShift);
  Touche(VK_LEFT);  // collapses to the selection's start
  EXPECT_EQ(edit->Caret(), 1);
  EXPECT_EQ(edit->SelLength(), 0);
  Taper("\b\b");  // the second Backspace at 0 does nothing
  EXPECT_EQ(edit->Text(), "alo");
  Touche(VK_DELETE);
  EXPECT_EQ(edit->Text(), "lo");
  Touche(VK_END);
  Touche(VK_DELETE);  // after the last character: nothing
  Touche(VK_LEFT);
  Touche(VK_END, ssShift);
  Touche(VK_DELETE);
  EXPECT_EQ(edit->Text(), "l");
  Taper("\t\x01");  // control characters are not text
  EXPECT_EQ(edit->Text(), "l");
  edit->SelectAll();
  Taper("\b");
  EXPECT_EQ(edit->Text(), "");
}

TEST_F(ControleEdition, MaxLengthCutsAndRefusesWhatDoesNotFit) {
  edit->SetText("abcdef");
  edit->SetMaxLength(4);
  EXPECT_EQ(edit->Text(), "abcd");
  Taper("x");
  EXPECT_EQ(edit->Text(), "abcd");
  edit->SetSelStart(1);
  edit->SetSelLength(2);
  Taper("xyz");  // the selection makes room for two characters
  EXPECT_EQ(edit->Text(), "axyd");
  EXPECT_EQ(edit->Caret(), 3);
  edit->SetText("0123456789");
  EXPECT_EQ(edit->Text(), "0123");
  EXPECT_EQ(edit->Caret(), 4);
  edit->SetMaxLength(0);
  Taper("45");
  EXPECT_EQ(edit->Text(), "012345");
  edit->SetSelStart(99);
  EXPECT_EQ(edit->Caret(), 6);
  edit->SetSelLength(-99);
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 6);
}

}  // namespace
