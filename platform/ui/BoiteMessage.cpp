#include "platform/ui/BoiteMessage.h"

#include <memory>

#include "platform/ui/VclDialogue.h"

TBoiteMessage::TBoiteMessage(TComponent* Owner, const std::string& Texte, const std::string& Legende,
                             uint32_t Drapeaux)
    : TForm(Owner), drapeaux_(Drapeaux) {
  SetName(kNom);
  SetVisible(false);
  SetBorderStyle(TFormBorderStyle::bsDialog);
  Position = TPosition::poScreenCenter;
  SetCaption(Legende);
  this->Texte = new TLabel(this);
  this->Texte->SetParent(this);
  this->Texte->SetCaption(Texte);
}

int32_t TBoiteMessage::ReponseSansUtilisateur() const {
  return (drapeaux_ & 0xF) == BoiteMessage::MB_YESNO ? mrYes : mrOk;
}

namespace BoiteMessage {

int32_t Afficher(const std::string& Texte, const std::string& Legende, uint32_t Drapeaux) {
  VclDialogue::Ecrire(Legende + " : " + Texte);
  std::unique_ptr<TBoiteMessage> boite(new TBoiteMessage(&Application(), Texte, Legende, Drapeaux));
  return boite->ShowModal();
}

}  // namespace BoiteMessage
