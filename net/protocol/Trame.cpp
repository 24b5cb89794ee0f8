#include "net/protocol/Trame.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/PetitBoutiste.h"

using PetitBoutiste::EcrireCardinal;
using PetitBoutiste::LireCardinal;

namespace Trame {

namespace {

constexpr std::size_t kMorceauExtraction = 64 * 1024;

void EcrireEntete(uint8_t* p, uint8_t Genre, uint32_t Longueur) {
  p[0] = kVersionProtocole;
  p[1] = Genre;
  EcrireCardinal(p + 2, Longueur);
}

// Inflates into Sortie until it is full; false when the stream ends first or is corrupt.
bool Remplir(z_stream& z, uint8_t* Sortie, uint32_t Taille, bool& Fini) {
  z.next_out = Sortie;
  z.avail_out = Taille;
  while (z.avail_out > 0) {
    if (Fini) return false;
    const int r = inflate(&z, Z_NO_FLUSH);
    if (r == Z_STREAM_END) {
      Fini = true;
    } else if (r != Z_OK) {
      return false;  // corrupt data, or no progress possible (the input ran out)
    }
  }
  return true;
}

}  // namespace

bool Construire(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees, uint32_t Taille, uint8_t Version,
                std::string& Resultat) {
  Resultat.clear();
  if (Taille > kTailleMaximale) return false;
  uint8_t entete[kTailleEnteteMessage] = {};
  entete[0] = Version != 0 ? Version : kVersionProtocole;
  EcrireCardinal(entete + 2, Id);
  EcrireCardinal(entete + 6, Adresse.IdentConnexion);
  entete[10] = Adresse.GenreAdresse;
  EcrireCardinal(entete + 11, Taille);

  z_stream z{};
  if (deflateInit(&z, kNiveauCompression) != Z_OK) return false;
  const uLong borne = deflateBound(&z, kTailleEnteteMessage + Taille);
  std::string trame(kTailleEntete + borne, '\0');
  z.next_out = reinterpret_cast<Bytef*>(trame.data() + kTailleEntete);
  z.avail_out = static_cast<uInt>(borne);
  z.next_in = entete;
  z.avail_in = kTailleEnteteMessage;
  bool ok = deflate(&z, Z_NO_FLUSH) == Z_OK && z.avail_in == 0;
  z.next_in = static_cast<Bytef*>(const_cast<void*>(Donnees));
  z.avail_in = Taille;
  ok = ok && deflate(&z, Z_FINISH) == Z_STREAM_END;
  const uLong compresse = z.total_out;
  deflateEnd(&z);
  if (!ok || compresse > kTailleMaximale) return false;
  trame.resize(kTailleEntete + compresse);
  EcrireEntete(reinterpret_cast<uint8_t*>(trame.data()), kGenreCompresse, static_cast<uint32_t>(compresse));
  Resultat = std::move(trame);
  return true;
}

bool Chiffrer(const TypeSecurite& Securite, TClassCryptageClientServeur& Chiffreur, std::string& Trame) {
  if (Securite.Mode != kModeChiffre) return true;
  if (Trame.size() > kTailleMaximale) return false;
  const uint32_t taille = TClassCryptageClientServeur::TailleBloc(static_cast<uint32_t>(Trame.size()));
  if (taille > kTailleMaximale) return false;
  Chiffreur.PhraseSecrete = Securite.PhraseSecrete;
  Chiffreur.Sens = TClassCryptageClientServeur::kChiffrer;
  Chiffreur.DefinirEntree(reinterpret_cast<const uint8_t*>(Trame.data()), static_cast<uint32_t>(Trame.size()));
  std::string chiffree(kTailleEntete + taille, '\0');
  auto* p = reinterpret_cast<uint8_t*>(chiffree.data());
  EcrireEntete(p, kGenreChiffre, taille);
  Chiffreur.Traiter(p + kTailleEntete);
  Trame = std::move(chiffree);
  return true;
}

bool Extraire(std::string_view Zlib, TypeMessageRecu& Message) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Zlib.data()));
  z.avail_in = static_cast<uInt>(Zlib.size());
  bool fini = false;
  uint8_t entete[kTailleEnteteMessage];
  bool ok = Remplir(z, entete, kTailleEnteteMessage, fini);
  const uint32_t d = ok ? LireCardinal(entete + 11) : 0;
  ok = ok && d <= kTailleMaximale;
  if (ok) {
    Message.Id = LireCardinal(entete + 2);
    Message.Adresse = {LireCardinal(entete + 6), entete[10]};
    // The buffer grows as the data inflates: a small frame announcing a large size costs no more
    // than one piece before it is found short.
    Message.Donnees.clear();
    while (ok && Message.Donnees.size() < d) {
      const std::size_t avant = Message.Donnees.size();
      const uint32_t n = static_cast<uint32_t>(std::min<std::size_t>(kMorceauExtraction, d - avant));
      Message.Donnees.resize(avant + n);
      ok = Remplir(z, reinterpret_cast<uint8_t*>(Message.Donnees.data()) + avant, n, fini);
    }
  }
  // The stream must end right after the announced data, with no byte of input left over.
  if (ok && !fini) {
    uint8_t surplus;
    z.next_out = &surplus;
    z.avail_out = 1;
    ok = inflate(&z, Z_NO_FLUSH) == Z_STREAM_END && z.avail_out == 1;
  }
  ok = ok && z.avail_in == 0;
  inflateEnd(&z);
  if (!ok) Message.Donnees.clear();
  return ok;
}

namespace {

TypeLecture LireSansFin(TBufferDynamique& File, const TypeSecurite& Reception, TClassCryptageClientServeur& Chiffreur,
                        TypeMessageRecu& Message) {
  uint8_t entete[kTailleEntete];
  if (!File.Lire(entete, 1)) return TypeLecture::Incomplet;
  if (entete[0] != kVersionProtocole) return TypeLecture::Corrompu;
  if (!File.Lire(entete + 1, 1)) return TypeLecture::Incomplet;
  const uint8_t genre = entete[1];
  if (genre > kGenreChiffre) return TypeLecture::Corrompu;
  if (!File.Lire(entete + 2, 4)) return TypeLecture::Incomplet;
  const uint32_t longueur = LireCardinal(entete + 2);  // as signed: negative values are above the limit
  if (longueur > kTailleMaximale) return TypeLecture::Corrompu;
  if (File.Disponible() < longueur) return TypeLecture::Incomplet;
  std::string charge(longueur, '\0');
  if (!File.Lire(charge.data(), longueur)) return TypeLecture::Incomplet;

  if (genre != kGenreChiffre) {
    if (!Extraire(charge, Message)) return TypeLecture::Corrompu;
    // Once the session is enciphered, a clear frame may only be the empty keep-alive.
    if (Reception.Mode == kModeChiffre && (Message.Id != 0 || !Message.Donnees.empty())) return TypeLecture::FaitRien;
    return TypeLecture::Fait;
  }
  if (Reception.Mode != kModeChiffre) return TypeLecture::FaitRien;
  Chiffreur.PhraseSecrete = Reception.PhraseSecrete;
  std::string clair;
  if (!Chiffreur.Dechiffrer(charge, clair)) return TypeLecture::FaitRien;
  // The plain text holds exactly one kind-1 frame.
  const auto* p = reinterpret_cast<const uint8_t*>(clair.data());
  if (clair.size() < kTailleEntete || p[0] != kVersionProtocole || p[1] > kGenreCompresse ||
      LireCardinal(p + 2) != clair.size() - kTailleEntete)
    return TypeLecture::Corrompu;
  if (!Extraire(std::string_view(clair).substr(kTailleEntete), Message)) return TypeLecture::Corrompu;
  return TypeLecture::Fait;
}

}  // namespace

TypeLecture Lire(TBufferDynamique& File, const TypeSecurite& Reception, TClassCryptageClientServeur& Chiffreur,
                 TypeMessageRecu& Message) {
  File.Marquer();
  const TypeLecture r = LireSansFin(File, Reception, Chiffreur, Message);
  switch (r) {
    case TypeLecture::Fait:
    case TypeLecture::FaitRien:
      File.ValiderLecture();
      break;
    case TypeLecture::Incomplet:
      File.RevenirMarque();
      break;
    case TypeLecture::Corrompu:
      File.Vider();
      break;
  }
  return r;
}

}  // namespace Trame
