// The platform's font dialog and input box. The host's own dialogs do not exist here: a provider
// installed by the program (a test's script) answers them. Without a provider the dialog is
// cancelled, as a dialog nobody answers. Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/Controles.h"

namespace DialoguesSaisie {

// Answers a font dialog: true with the chosen font in Police (which holds the dialog's font on
// entry), false for cancel.
using TFournisseurPolice = std::function<bool(TFont& Police)>;
// Answers an input box: true with the entered text in Valeur (which holds the default on entry),
// false for cancel.
using TFournisseurSaisie =
    std::function<bool(const std::string& Legende, const std::string& Invite, std::string& Valeur)>;

// Installs a provider (an empty function removes it).
void DefinirFournisseurPolice(TFournisseurPolice Fournisseur);
void DefinirFournisseurSaisie(TFournisseurSaisie Fournisseur);

}  // namespace DialoguesSaisie

// The font dialog component: Execute asks the provider; on acceptance Font takes the chosen font.
class TFontDialog : public TComponent {
 public:
  explicit TFontDialog(TComponent* Owner) : TComponent(Owner) {}
  TFont Font;
  // True when a font was chosen; cancelled (Font unchanged) without a provider.
  bool Execute();
};

// The input box: true with the entered text in Value; cancelled (Value unchanged) without a
// provider.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);
// The entered text, or Default when the box is cancelled.
std::string InputBox(const std::string& Caption, const std::string& Prompt, const std::string& Default);
