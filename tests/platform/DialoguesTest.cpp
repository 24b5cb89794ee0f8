// The print and file dialog providers: scripted by tests, cancelled without a provider, and the
// caller's record left as it was when the user cancels.
#include <gtest/gtest.h>

#include "platform/gui/DialoguesFichiers.h"
#include "platform/gui/DialoguesImpression.h"

namespace {

struct PrintAnswer : IFournisseurDialogueImpression {
  bool Accept = false;
  bool Executer(TDialogueImpression& d) override {
    d.Copies = 7;
    d.FromPage = 2;
    return Accept;
  }
};

struct FileAnswer : IFournisseurDialoguesFichiers {
  std::string Name;
  int Index = 1;
  TDialogueFichier Seen;
  bool Executer(TDialogueFichier& d) override {
    Seen = d;
    d.FileName = Name;
    d.FilterIndex = Index;
    return !Name.empty();
  }
};

}  // namespace

TEST(Dialogues, ThePrintDialogAnswersThroughItsProviderOrIsCancelled) {
  TDialogueImpression d;
  d.Copies = 1;
  EXPECT_FALSE(DialoguesImpression::Executer(d));
  PrintAnswer answer;
  DialoguesImpression::DefinirFournisseur(&answer);
  EXPECT_FALSE(DialoguesImpression::Executer(d));
  EXPECT_EQ(d.Copies, 1);  // a cancelled dialog changes nothing
  answer.Accept = true;
  EXPECT_TRUE(DialoguesImpression::Executer(d));
  EXPECT_EQ(d.Copies, 7);
  EXPECT_EQ(d.FromPage, 2);
  DialoguesImpression::DefinirFournisseur(nullptr);
  EXPECT_EQ(DialoguesImpression::Fournisseur(), nullptr);
}

TEST(Dialogues, FileDialogsTakeTheDefaultExtensionAndKeepTheNameWhenCancelled) {
  TSaveDialog save;
  save.Title = "Save report";
  save.DefaultExt = "RBP";
  save.OverwritePrompt = true;
  save.FileName = "before";
  EXPECT_FALSE(save.Execute());
  FileAnswer answer;
  DialoguesFichiers::DefinirFournisseur(&answer);
  EXPECT_FALSE(save.Execute());
  EXPECT_EQ(save.FileName, "before");
  EXPECT_EQ(answer.Seen.Type, TTypeDialogueFichier::Enregistrer);
  EXPECT_TRUE(answer.Seen.OverwritePrompt);
  struct Case {
    std::string Given, Expected;
  };
  for (const Case& c : {Case{"/tmp/a", "/tmp/a.RBP"}, Case{"/tmp/a.pdf", "/tmp/a.pdf"},
                        Case{"/tmp/dir.d/a", "/tmp/dir.d/a.RBP"}}) {
    answer.Name = c.Given;
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, c.Expected) << c.Given;
  }
  TOpenDialog open;
  open.Title = "Load report";
  answer.Name = "/tmp/b.RBP";
  answer.Index = 2;
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(answer.Seen.Type, TTypeDialogueFichier::Ouvrir);
  EXPECT_EQ(answer.Seen.Title, "Load report");
  EXPECT_EQ(open.FileName, "/tmp/b.RBP");
  EXPECT_EQ(open.FilterIndex, 2);
  DialoguesFichiers::DefinirFournisseur(nullptr);
}
