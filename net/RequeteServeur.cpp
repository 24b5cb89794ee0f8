#include "net/RequeteServeur.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/AttenteReponseServeur.h"

bool TEchangeSynchrone::Commencer() {
  if (occupe_) return false;
  occupe_ = true;
  repondu_ = false;
  verdict_ = 0;
  tampon_.clear();
  return true;
}

void TEchangeSynchrone::RecevoirReponse(const uint8_t* Donnees, uint32_t Taille) {
  if (!occupe_ || repondu_) return;
  if (Donnees != nullptr && Taille > 0) {
    verdict_ = Donnees[0];
    tampon_.assign(Donnees + 1, Donnees + Taille);
  } else {
    verdict_ = 0;
    tampon_.clear();
  }
  repondu_ = true;
}

void TEchangeSynchrone::RecevoirTampon(const uint8_t* Donnees, uint32_t Taille) {
  if (!occupe_ || repondu_) return;
  if (Donnees != nullptr && Taille > 0) tampon_.assign(Donnees, Donnees + Taille);
  verdict_ = tampon_.empty() ? 0 : 1;
  repondu_ = true;
}

void TEchangeSynchrone::Abandonner() {
  if (occupe_) repondu_ = true;
}

bool TEchangeSynchrone::Terminer(void* Reponse, uint32_t Capacite) {
  const std::size_t n = std::min<std::size_t>(tampon_.size(), Capacite);
  if (Reponse != nullptr && n > 0) std::memcpy(Reponse, tampon_.data(), n);
  const bool accepte = repondu_ && verdict_ != 0;
  std::vector<uint8_t>().swap(tampon_);
  verdict_ = 0;
  return accepte;
}

namespace RequeteServeur {

bool EnvoyerSynchrone(TEchangeSynchrone& Echange, const TypeLienRequetes& Lien, const TypeRequete& Requete,
                      MainLoop::Duration Delai, const std::function<void(bool)>& SurPre,
                      const std::function<void(bool)>& SurPost) {
  if (Requete.Taille < 0 || (Requete.Taille > 0 && Requete.Donnees == nullptr) || Requete.TailleReponse < 0)
    return false;
  if (Lien.Boucle == nullptr || !Lien.Envoyer || !Echange.Commencer()) return false;
  if (SurPre) SurPre(Requete.AfficherAttente);
  bool envoye = false;
  try {
    envoye = Lien.Envoyer(Requete.Code, static_cast<uint32_t>(Requete.Parametre), Requete.Donnees,
                          static_cast<uint32_t>(Requete.Taille));
    if (envoye) {
      FenetresTaches::TDesactivation desactivees;
      const auto fin = Lien.Boucle->WaitUntil([&] { return Echange.Repondu(); }, Delai);
      if (fin == MainLoop::WaitResult::TimedOut) {
        Echange.Abandonner();
        if (Lien.Fermer) Lien.Fermer();
      }
    }
  } catch (...) {
    (void)Echange.Terminer(nullptr, 0);
    if (SurPost) SurPost(Requete.AfficherAttente);
    Echange.Liberer();
    throw;
  }
  const bool verdict = Echange.Terminer(Requete.Reponse, static_cast<uint32_t>(Requete.TailleReponse));
  if (SurPost) SurPost(Requete.AfficherAttente);
  Echange.Liberer();
  return envoye && verdict;
}

}  // namespace RequeteServeur
