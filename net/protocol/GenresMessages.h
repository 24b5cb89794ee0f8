// The message kinds of the client/server protocol, with the bounds of the data length that a
// receiver accepts and the length that this system sends. A receiving component registers the kinds it
// handles with these bounds; the names are the texts of the protocol trace.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace GenresMessages {

// A maximum of "any length" (stored capped at the frame limit, like every maximum).
inline constexpr uint32_t kToutes = 0xFFFFFFFF;
// The length this system sends: a fixed number, or one of these.
inline constexpr int32_t kJamaisEnvoye = -1;
inline constexpr int32_t kEnvoiVariable = -2;

struct TypeGenreMessage {
  uint32_t Id;
  std::string_view Nom;
  bool Recu;           // the server sends it to this system
  uint32_t TailleMin;  // bounds of a received message's data (0..0 for a kind only sent)
  uint32_t TailleMax;
  int32_t TailleEnvoyee;
};

inline constexpr uint32_t CM_RECHERCHER_SERVEURS = 0x1;
inline constexpr uint32_t CM_SIGNALER_PRESENCE = 0x2;
inline constexpr uint32_t CM_DEMANDER_HOST = 0x3;
inline constexpr uint32_t CM_ENVOYER_HOST = 0x6;
inline constexpr uint32_t CM_ENVOYER_MESSAGE = 0x12;
inline constexpr uint32_t CM_DEMANDER_INFOS_UTILISATEURS = 0x10002;
inline constexpr uint32_t CM_ENVOYER_UTILISATEUR = 0x10004;
inline constexpr uint32_t CM_FIN_ENVOI_INFOS_UTILISATEURS = 0x10005;
inline constexpr uint32_t CM_ENVOYER_LOGIN = 0x40001;
inline constexpr uint32_t CM_FIN_LOGIN = 0x40002;
inline constexpr uint32_t CM_REPONDRE_LOGIN = 0x40003;
inline constexpr uint32_t CM_DEMANDER_IDENTIFICATION = 0x40101;
inline constexpr uint32_t CM_REPONDRE_IDENTIFICATION = 0x40102;
inline constexpr uint32_t CM_DEMANDER_AUTHENTIFICATION = 0x40103;
inline constexpr uint32_t CM_REPONDRE_AUTHENTIFICATION = 0x40104;
inline constexpr uint32_t CM_DEMANDER_STREAM = 0x50001;
inline constexpr uint32_t CM_STREAM_PRET = 0x50002;
inline constexpr uint32_t CM_STREAM_REFUSE = 0x50003;
inline constexpr uint32_t CM_DEMANDER_STREAM_SUIVANT = 0x50004;
inline constexpr uint32_t CM_ENVOYER_STREAM = 0x50005;
inline constexpr uint32_t CM_STREAM_BIEN_RECU = 0x50006;
inline constexpr uint32_t CM_REPONDRE_DEM_MODE_EXCLUSIF = 0x60002;
inline constexpr uint32_t CM_REPONDRE_LIB_MODE_EXCLUSIF = 0x60004;
inline constexpr uint32_t CM_MODE_EXCLUSIF_MODIFIE = 0x60005;
inline constexpr uint32_t CM_VERROU_MODE_EXCLUSIF_MODIFIE = 0x60011;
inline constexpr uint32_t CM_ENVOYER_REQUETE = 0x70001;
inline constexpr uint32_t CM_REPONDRE_REQUETE = 0x70002;
inline constexpr uint32_t CM_ENVOYER_OrdreReseau = 0x70003;
inline constexpr uint32_t CM_REPONDRE_OrdreReseau = 0x70004;
inline constexpr uint32_t CM_DEBUT_REQUETE = 0x70010;
inline constexpr uint32_t CM_FIN_REQUETE = 0x70011;
inline constexpr uint32_t CM_ENVOYER_ETAT_BASE = 0x80001;
inline constexpr uint32_t CM_ENVOYER_ORDRE_MODIF = 0x90001;
inline constexpr uint32_t CM_ENVOYER_ORDRES_MODIFS = 0x90002;
inline constexpr uint32_t CM_ENVOYER_ORDRE_MODIF_UTIL = 0x90003;
inline constexpr uint32_t CM_REPONDRE_ORDRE_UTIL = 0x90004;
inline constexpr uint32_t CM_DECONNEXION = 0xA0001;
inline constexpr uint32_t CM_RECONNEXION = 0xA0002;
inline constexpr uint32_t CM_REPONDRE_TRAITEMENT_LONG = 0xC0002;
inline constexpr uint32_t CM_TRAITEMENT_LONG_MODIFIE = 0xC0003;
inline constexpr uint32_t CM_DEMANDER_PROFILS_SRV = 0xD0001;
inline constexpr uint32_t CM_ENVOYER_PROFIL_SRV = 0xD0002;
inline constexpr uint32_t CM_FIN_ENVOI_PROFILS_SRV = 0xD0003;
inline constexpr uint32_t CM_ENVOYER_PROFIL_UTIL = 0xE0004;
inline constexpr uint32_t CM_ENVOYER_AFFECTATION_UTIL = 0xF0002;
inline constexpr uint32_t CM_ENVOYER_INFOS_VERSION = 0x100002;
inline constexpr uint32_t CM_ENVOYER_IDENT_CONNEXION = 0x110002;

// Every kind of the protocol, in increasing number.
std::span<const TypeGenreMessage> Tous();
// The kind of that number, or nil.
const TypeGenreMessage* Genre(uint32_t Id);

}  // namespace GenresMessages
