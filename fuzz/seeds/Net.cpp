// Seeds of the networking layer's readers: the user base and its orders, frames and their cipher, the data
// client's messages, the stream transfer, network objects, addresses and archive names.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "core/objects/Erreur.h"
#include "fuzz/ObjetsReseauFuzz.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/ip/IEIPEndPoint.h"
#include "net/objets/ParametreObjetReseau.h"
#include "net/protocol/GenresMessages.h"
#include "net/protocol/Trame.h"
#include "net/services/DynaZip.h"
#include "net/services/Version.h"
#include "net/transport/MessagesModeExclusif.h"
#include "net/transport/TransfertStream.h"
#include "net/utilisateurs/Login.h"
#include "net/utilisateurs/OrdreUtilisateur.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreString.h"

namespace Semences {
namespace {

void SemencesBaseUtilisateurs() {
  Ecrire("BaseUtilisateurs", "utilisateur", Octets{0} + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(7);
           for (const char* t : {"Jeanne Martin", "JMA", "jmartin"}) f.EcrireChaine(TLogin(t).GetCode());
           f.EcrireChaine(TMotDePasse("secret").GetCode());
           f.EcrireBooleen(true);
           f.EcrireChaine("texte");
           f.EcrireBooleen(false);
         }));
  Ecrire("BaseUtilisateurs", "profil", Octets{1} + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(3);
           f.EcrireChaine(TLogin("Professeurs").GetCode());
           f.EcrireWord(1);
           uint8_t droits[256] = {};
           for (int d : {6, 7, 28, 54}) droits[d] = 1;
           f.EcrireTampon(droits, 256);
         }));
  Ecrire("BaseUtilisateurs", "affectation", Octets{2, 1, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  Octets profil(641, 0);
  profil[0] = 3;
  profil[1] = 40;
  profil[5] = 4;
  for (int i = 0; i < 4; ++i) profil[static_cast<std::size_t>(6 + i)] = static_cast<uint8_t>("Nord"[i]);
  Ecrire("BaseUtilisateurs", "profil-serveur", profil);
}

// Frames as a peer sends them: clear, several in one read, the keep-alive, enciphered.
void SemencesTrame() {
  const std::string phrase("\x11\x00\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF", 16);
  auto trame = [](uint32_t Id, const std::string& Donnees) {
    std::string t;
    if (!Trame::Construire({7, 2}, Id, Donnees.data(), static_cast<uint32_t>(Donnees.size()), 0, t)) std::abort();
    return Texte(t);
  };
  const Octets ordre = trame(0x90001, "ordre"), profil = trame(0xD0002, std::string(640, 'p')), vivant = trame(0, "");
  Ecrire("Trame", "claire", Octets{0, 0, 0} + ordre);
  Ecrire("Trame", "trois-en-morceaux", Octets{0, 0, 1} + ordre + profil + vivant);
  std::string chiffree(ordre.begin(), ordre.end());
  TClassCryptageClientServeur chiffreur;
  if (!Trame::Chiffrer({Trame::kModeChiffre, phrase}, chiffreur, chiffree)) std::abort();
  Ecrire("Trame", "chiffree", Octets{1, 16} + Texte(phrase) + Octets{0} + Texte(chiffree) + vivant);
}

// Datagrams of the UDP channel as the target reads them (sender, 16-bit length, bytes): two servers
// describing themselves (the current form and the older one), one asking for the host description,
// one leaving, and bytes that are no frame.
void SemencesCanalUdp() {
  auto datagramme = [](uint8_t Expediteur, uint32_t Id, const std::string& Donnees) {
    std::string t;
    if (!Trame::Construire({0, 2}, Id, Donnees.data(), static_cast<uint32_t>(Donnees.size()), 0, t)) std::abort();
    return Octets{Expediteur} + Valeur<uint16_t>(static_cast<uint16_t>(t.size())) + Texte(t);
  };
  auto host = [](const std::string& Nom, const std::string& Libelle, std::size_t Taille) {
    std::string h(Taille, '\0');
    h[0] = static_cast<char>(Nom.size());
    h.replace(1, Nom.size(), Nom);
    h[51] = static_cast<char>(Libelle.size());
    h.replace(52, Libelle.size(), Libelle);
    h[83] = static_cast<char>(0x50);  // TCP port 49232
    h[84] = static_cast<char>(0xC0);
    return h;
  };
  Ecrire("CanalUdp", "deux-serveurs",
         datagramme(0, GenresMessages::CM_ENVOYER_HOST, host("serveur-nord", "Lycee Nord", 361)) +
             datagramme(1, GenresMessages::CM_ENVOYER_HOST, host("ancien", "Ancien", 360)) +
             datagramme(0, GenresMessages::CM_DEMANDER_HOST, "") + datagramme(1, GenresMessages::CM_DECONNEXION,
                                                                              std::string(9, '\0')));
  Ecrire("CanalUdp", "pas-une-trame", Octets{2, 5, 0, 'h', 'e', 'l', 'l', 'o'} +
                                          datagramme(2, GenresMessages::CM_ENVOYER_HOST, host("n", "l", 361)));
}

// The data client's messages, each as the target reads it (the kind's place in its list, a 16-bit
// length, the bytes): a whole handshake whose answers decipher, then the refusals and the rest.
void SemencesClientDonnees() {
  auto message = [](uint8_t Genre, const Octets& Donnees) {
    return Octets{Genre} + Valeur<uint16_t>(static_cast<uint16_t>(Donnees.size())) + Donnees;
  };
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = CryptageClientServeur::PhraseAuthentification("ABC", "", "alice", "Secret");
  const Octets secret = Texte(chiffreur.Chiffrer(std::string(16, 's')));
  const Octets cle = Texte(chiffreur.Chiffrer(std::string(16, 'k')));
  Octets host(361, 0);
  host[0] = 3;
  std::memcpy(host.data() + 1, "srv", 3);
  const auto version = TypeVersion{"srv", 5, 0, 6, 9}.EnOctets();
  std::memcpy(host.data() + 85, version.data(), version.size());
  const Octets ident = message(0, Valeur<uint32_t>(0) + Valeur<uint32_t>(100));
  const Octets identification = message(3, Octets(32, 0) + Valeur<uint32_t>(4242) + Octets{0} + secret + Octets{0, 0});
  const Octets authentification = message(4, Octets(52, 0) + Valeur<uint32_t>(static_cast<uint32_t>(cle.size())) + cle);
  Ecrire("ClientDonnees", "poignee-de-main",
         ident + message(1, host) + identification + authentification + message(5, Octets{0, 0}));
  Ecrire("ClientDonnees", "refus", message(3, Octets(36, 0) + Octets{4} + Octets(4, 0)) +
                                       message(4, Octets{3} + Octets(58, 0)) + message(5, Octets{6, 8}));
  Octets ancien(360, 0);
  ancien[51] = 31;
  Ecrire("ClientDonnees", "hote-ancien", message(1, ancien) + message(2, {}));
  Octets ordre(52, 0);
  ordre[7] = 10;
  std::memcpy(ordre.data() + 8, "TOrdreTest", 10);
  Octets requete(19, 0);
  requete[15] = 3;
  Ecrire("ClientDonnees", "requetes-et-ordres",
         message(14, requete + Octets{1, 2, 3}) + message(15, ordre) + message(16, Octets(45, 0)) +
             message(17, Octets{1, 9, 0, 0, 0}) + message(7, Octets(16, 2)) + message(6, {}));
}

// Blocks of the sizes that matter: empty, one whole AES block, one more byte, three blocks.
void SemencesCryptageClientServeur() {
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = "$ADM:Dupont$";
  for (std::size_t n : {0, 16, 17, 48})
    Ecrire("CryptageClientServeur", "bloc-" + std::to_string(n),
           Octets{12} + Texte(chiffreur.PhraseSecrete) + Texte(chiffreur.Chiffrer(std::string(n, 'k'))));
}

void SemencesLPStr() {
  TLPStr texte;
  texte.SetText("archive.zip");
  TMemoryStream flux;
  texte.EcrirePropriete(flux);
  Ecrire("LPStr", "propriete", flux.Bytes());
}

void SemencesAdressesIp() {
  TIPEndPoint point(*TIPAddress::Parse("10.1.2.3"), 49200);
  const Octets octets = Flux(0, [&](TBinaryFormatter& f) { point.Ecrire(&f, nullptr); });
  const char* textes[] = {"10.1.2.3", " 127.1 ", "0x0A.01.2.0x3", "255.255.255.255", "10.1.2.256"};
  for (std::size_t i = 0; i < std::size(textes); ++i)
    Ecrire("AdressesIp", "point-" + std::to_string(i),
           Octets{static_cast<uint8_t>(std::strlen(textes[i]))} + Texte(textes[i]) + octets);
}

// Network objects in every mode, orders and their answers, and published parameter lists, written
// by the system's writers in the four layouts.
void SemencesObjetsReseau() {
  Fuzz::DemarrerObjetsReseau();
  Fuzz::TOrdreFuzz ordre;
  TListeParametresPublies* p = ordre.Parametres();
  static_cast<TParametreInteger*>(p->Parametre(0))->SetValeur(42);
  static_cast<TParametreString*>(p->Parametre(1))->SetValeur("texte");
  static_cast<TParametreObjetReseau*>(p->Parametre(2))->SetValeur(Fuzz::ObjetLocal());
  static_cast<TParametreDouble*>(p->Parametre(4))->SetValeur(21.0);
  Fuzz::TOrdreFuzz echec;
  echec.SetErreur(new TErreur("Nombre negatif"));
  (new TErreur("detail"))->AjouterA(echec.Erreur());
  TDeclarationObjetsReseau declarations;
  declarations.Ajouter(Fuzz::ObjetLocal());
  declarations.Ajouter(&ordre);
  Fuzz::TObjetReseauFuzz inconnu;
  inconnu.Valeur = 7;
  inconnu.SetIdentifiant(MakeGUID("{11111111-2222-3333-4444-555555555555}"));
  TSerializable serialisable;
  serialisable.SetParametres(new TListeParametresPublies(Fuzz::TOrdreFuzz::StaticClass(), nullptr));
  for (uint8_t d : {0, 1, 2, 3}) {
    const std::string suffixe = "-" + std::to_string(d);
    const auto objet = [&](TObject* o, TClasseFormat format) {
      return Flux(d, [&](TBinaryFormatter& f) { f.EcrireObjet(o, format); });
    };
    Ecrire("ObjetReseau", "requete" + suffixe, Octets{d} + objet(&ordre, TFSModeRequete::StaticClass()));
    Ecrire("ObjetReseau", "reponse" + suffixe, Octets{d} + objet(&echec, TFSModeReponse::StaticClass()));
    Ecrire("ObjetReseau", "declarations" + suffixe,
           Octets{d} + objet(&declarations, TFSDeclarationObjet::StaticClass()) + objet(&declarations, nullptr));
    Ecrire("ObjetReseau", "references" + suffixe,
           Octets{d} + objet(Fuzz::ObjetLocal(), TFSObjetParReference::StaticClass()) +
               objet(Fuzz::ObjetLocal(), TFSContenuObjet::StaticClass()) + objet(&inconnu, TFSContenuObjet::StaticClass()));
    Ecrire("ObjetReseau", "serialisable" + suffixe, Octets{d} + objet(&serialisable, nullptr));
    Ecrire("OrdreReseau", "ordre" + suffixe, Octets{d} + objet(&ordre, TFSModeRequete::StaticClass()));
    Ecrire("OrdreReseau", "echec" + suffixe, Octets{static_cast<uint8_t>(d | 4)} + objet(&echec, TFSModeReponse::StaticClass()));
    Ecrire("OrdreReseau", "reponse" + suffixe, Octets{static_cast<uint8_t>(d | 4)} + objet(&ordre, TFSModeReponse::StaticClass()));
    Ecrire("ParametresPublies", "liste" + suffixe,
           Octets{d} + Flux(d, [&](TBinaryFormatter& f) { serialisable.Parametres()->Ecrire(&f, nullptr); }));
    Ecrire("ParametresPublies", "parametre" + suffixe,
           Octets{static_cast<uint8_t>(d | 4)} + Flux(d, [&](TBinaryFormatter& f) { serialisable.Parametres()->ParametrePublie(1)->Ecrire(&f, nullptr); }));
    Ecrire("ParametresPublies", "requete" + suffixe,
           Octets{static_cast<uint8_t>(d | 8)} + Flux(d, [&](TBinaryFormatter& f) { ordre.EcrireRequete(&f); }));
    Ecrire("ParametresPublies", "reponse" + suffixe,
           Octets{static_cast<uint8_t>(d | 12)} + Flux(d, [&](TBinaryFormatter& f) { echec.EcrireReponse(&f); }));
  }
  inconnu.SetIdentifiant(kIdentifiantNul);
}

// A stream received in two pieces, one received corrupt, and one served on request; orders packed
// and an answer with an identifier; user-base orders on each table.
void SemencesTransfertEtOrdres() {
  using namespace TransfertStream;
  constexpr uint8_t StreamBase = 0, StreamInfosUtilisateur = 1;
  auto message = [](uint8_t selecteur, const auto& donnees) {
    return Octets{selecteur} + Valeur<uint16_t>(static_cast<uint16_t>(donnees.size())) +
           Octets(donnees.begin(), donnees.end());
  };
  std::string contenu;
  for (int i = 0; i < 2000; ++i) contenu += std::to_string(i * 7919 % 10007);
  const std::string compresse = Deflater(contenu.data(), contenu.size());
  const auto total = static_cast<uint32_t>(compresse.size());
  Octets recu = message(1, StreamPret(StreamBase, total));
  for (uint32_t pos = 0; pos < total; pos += kTaillePiece)
    recu = recu + message(4, EnvoyerStream(StreamBase, compresse.data() + pos, std::min(kTaillePiece, total - pos)));
  Ecrire("TransfertStream", "recu", recu);
  Ecrire("TransfertStream", "corrompu",
         message(1, StreamPret(StreamInfosUtilisateur, 6)) + message(4, EnvoyerStream(StreamInfosUtilisateur, "zlib?!", 6)));
  Ecrire("TransfertStream", "servi",
         message(0, Octets{1}) + message(3, DemanderStreamSuivant(1, 0, kTaillePiece)) +
             message(3, DemanderStreamSuivant(1, 4096, kTaillePiece)) + message(5, Octets{1}));

  Octets ordres;
  for (const std::string o : {"ordre un", "", "ordre trois"})
    ordres = ordres + Valeur<uint32_t>(static_cast<uint32_t>(o.size())) + Texte(o);
  Ecrire("MessagesClient", "ordres", Octets{0} + ordres);
  Ecrire("MessagesClient", "reponse", Octets{1, 4, 1, 42, 0, 0, 0});
  const std::string mode = MessagesModeExclusif::EcrireModeModifie({3, true, 1, 2, 77, "poste 12"});
  Ecrire("MessagesClient", "mode-exclusif", Octets{2} + Texte(mode));

  auto ordre = [](uint8_t genre, uint32_t table, uint32_t ident) {
    return Octets{genre} + Valeur<uint32_t>(table) + Valeur<uint32_t>(ident);
  };
  Ecrire("OrdreUtilisateur", "utilisateur", ordre(GM_Creation, 2, 5) + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(5);
           for (const char* t : {"Jeanne Martin", "JMA", "jmartin"}) f.EcrireChaine(t);
           f.EcrireChaine(TMotDePasse("secret").GetCode());
           f.EcrireBooleen(true);
           f.EcrireChaine("texte");
           f.EcrireBooleen(false);
         }));
  Octets profil(OrdreUtilisateur::kTailleProfilUtilisateur, 0);
  profil[4] = 3;
  profil[5] = 'P', profil[6] = 'r', profil[7] = 'o';
  Ecrire("OrdreUtilisateur", "profil", ordre(GM_Modification, 3, 1) + profil);
  TypeProfilServeur serveur = TypeProfilServeur::Vierge();
  Ecrire("OrdreUtilisateur", "profil-serveur",
         ordre(GM_Creation, 1, 2) + Octets(serveur.Octets, serveur.Octets + kTailleProfilServeur));
  Ecrire("OrdreUtilisateur", "suppression", ordre(GM_Suppression, 4, 1));
}

// Profile names as servers give them: plain, with folders, quotes and percent signs, accents, tabs.
void SemencesEntreeBureau() {
  auto nom = [](const std::string& Nom, const std::string& Sous = "") {
    Octets o{static_cast<uint8_t>(Nom.size())};
    o = o + Texte(Nom);
    if (Sous.empty()) return o + Octets{0};
    return o + Octets{1, static_cast<uint8_t>(Sous.size())} + Texte(Sous);
  };
  Ecrire("EntreeBureau", "simple", nom("Nord"));
  Ecrire("EntreeBureau", "dossiers", nom("a/b\\c", "x/Norvane"));
  Ecrire("EntreeBureau", "parent", nom(".."));
  Ecrire("EntreeBureau", "guillemets", nom("Salle \"A\" $1 100% `x` 'y'"));
  Ecrire("EntreeBureau", "accents", nom("G\xE9n\xE9ral \x80"));
  Ecrire("EntreeBureau", "controles", nom("Tab\tNL\n\x01", " "));
}

}  // namespace

void Net() {
  SemencesBaseUtilisateurs();
  SemencesTrame();
  SemencesCanalUdp();
  SemencesCryptageClientServeur();
  SemencesClientDonnees();
  SemencesLPStr();
  SemencesAdressesIp();
  SemencesObjetsReseau();
  SemencesTransfertEtOrdres();
  SemencesEntreeBureau();
}

}  // namespace Semences
