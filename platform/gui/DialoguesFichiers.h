// The system's open and save dialogs: the caller gives a title, the file-type filter ("Text|*.txt|
// All|*.*"), a default extension and options; the user picks a file name. The dialogs are a provider
// that the program (or a test) installs; without one nobody is in front of the screen and the
// dialog is cancelled. Main thread only.
#pragma once

#include <cstdint>
#include <string>

enum class TTypeDialogueFichier : uint8_t { Ouvrir, Enregistrer };

struct TDialogueFichier {
  TTypeDialogueFichier Type = TTypeDialogueFichier::Ouvrir;
  std::string Title;
  std::string Filter;
  // 1-based index of the filter shown (and, on return, chosen).
  int32_t FilterIndex = 1;
  std::string DefaultExt;
  std::string FileName;
  // Ask before overwriting an existing file (save).
  bool OverwritePrompt = false;
  // The file must exist (open).
  bool FileMustExist = false;
};

class IFournisseurDialoguesFichiers {
 public:
  virtual ~IFournisseurDialoguesFichiers() = default;
  // True when the user accepted; FileName and FilterIndex then hold the choice.
  virtual bool Executer(TDialogueFichier& Dialogue) = 0;
};

namespace DialoguesFichiers {

void DefinirFournisseur(IFournisseurDialoguesFichiers* Fournisseur);
IFournisseurDialoguesFichiers* Fournisseur();
// The provider's answer, false without one. Accepted, a name without an extension takes
// DefaultExt; cancelled, the record is left as it was.
bool Executer(TDialogueFichier& Dialogue);

}  // namespace DialoguesFichiers

// The two dialogs as components hold them.
class TOpenDialog {
 public:
  std::string Title;
  std::string Filter;
  int32_t FilterIndex = 1;
  std::string DefaultExt;
  std::string FileName;
  bool FileMustExist = false;
  bool Execute();
};

class TSaveDialog {
 public:
  std::string Title;
  std::string Filter;
  int32_t FilterIndex = 1;
  std::string DefaultExt;
  std::string FileName;
  bool OverwritePrompt = false;
  bool Execute();
};
