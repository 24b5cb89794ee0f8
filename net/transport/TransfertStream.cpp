#include "net/transport/TransfertStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "net/protocol/GenresMessages.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/protocol/VclCommIp.h"

namespace TransfertStream {

using namespace GenresMessages;

std::array<uint8_t, kLongueurPret> StreamPret(uint8_t Genre, uint32_t Total) {
  std::array<uint8_t, kLongueurPret> m{};
  m[0] = Genre;
  PetitBoutiste::EcrireCardinal(m.data() + 4, Total);
  return m;
}

std::array<uint8_t, kLongueurRefuse> StreamRefuse(uint8_t Genre) {
  std::array<uint8_t, kLongueurRefuse> m{};
  m[0] = Genre;
  return m;
}

std::array<uint8_t, kLongueurSuivant> DemanderStreamSuivant(uint8_t Genre, uint32_t Position, uint32_t Taille) {
  std::array<uint8_t, kLongueurSuivant> m{};
  m[0] = Genre;
  PetitBoutiste::EcrireCardinal(m.data() + 4, Position);
  PetitBoutiste::EcrireCardinal(m.data() + 8, Taille);
  return m;
}

std::array<uint8_t, kLongueurEnvoyer> EnvoyerStream(uint8_t Genre, const void* Donnees, uint32_t Compte) {
  std::array<uint8_t, kLongueurEnvoyer> m{};
  Compte = std::min(Compte, kTailleZone);
  m[0] = Genre;
  PetitBoutiste::EcrireCardinal(m.data() + 4, Compte);
  if (Compte > 0) std::memcpy(m.data() + 8, Donnees, Compte);
  return m;
}

bool LirePret(const uint8_t* Donnees, uint32_t Taille, TypePret& Pret) {
  if (Donnees == nullptr || Taille != kLongueurPret) return false;
  Pret.Genre = Donnees[0];
  Pret.Total = PetitBoutiste::LireCardinal(Donnees + 4);
  return true;
}

bool LireSuivant(const uint8_t* Donnees, uint32_t Taille, TypeSuivant& Suivant) {
  if (Donnees == nullptr || Taille != kLongueurSuivant) return false;
  Suivant.Genre = Donnees[0];
  Suivant.Position = PetitBoutiste::LireCardinal(Donnees + 4);
  Suivant.Taille = PetitBoutiste::LireCardinal(Donnees + 8);
  return true;
}

bool LirePiece(const uint8_t* Donnees, uint32_t Taille, TypePiece& Piece) {
  if (Donnees == nullptr || Taille != kLongueurEnvoyer) return false;
  Piece.Genre = Donnees[0];
  Piece.Compte = PetitBoutiste::LireCardinal(Donnees + 4);
  Piece.Donnees = Donnees + 8;
  return true;
}

// --- The inflated stream

int64_t TFluxInflate::Read(void* Tampon, int64_t Nombre) {
  if (Nombre <= 0 || position_ >= taille_) return 0;
  const int64_t n = std::min(Nombre, taille_ - position_);
  auto* sortie = static_cast<uint8_t*>(Tampon);
  for (int64_t fait = 0; fait < n;) {
    const auto bloc = static_cast<std::size_t>(position_ / kTailleBloc);
    const auto decalage = static_cast<std::size_t>(position_ % kTailleBloc);
    const auto morceau = static_cast<std::size_t>(std::min<int64_t>(n - fait, int64_t{kTailleBloc} - int64_t(decalage)));
    std::memcpy(sortie + fait, blocs_[bloc].get() + decalage, morceau);
    fait += static_cast<int64_t>(morceau);
    position_ += static_cast<int64_t>(morceau);
  }
  return n;
}

int64_t TFluxInflate::Seek(int64_t Decalage, TSeekOrigin Origine) {
  const int64_t base = Origine == TSeekOrigin::soBeginning ? 0 : Origine == TSeekOrigin::soCurrent ? position_ : taille_;
  position_ = std::max<int64_t>(0, base + Decalage);
  return position_;
}

void TFluxInflate::SetSize(int64_t) { throw EWriteError("TFluxInflate: the inflated stream is read-only"); }

void TFluxInflate::Vider() {
  blocs_.clear();
  taille_ = 0;
  position_ = 0;
}

std::string TFluxInflate::Texte() {
  std::string s(static_cast<std::size_t>(taille_), '\0');
  const int64_t position = position_;
  position_ = 0;
  (void)Read(s.data(), taille_);
  position_ = position;
  return s;
}

// --- Inflation piece by piece

struct TInflateur::Etat {
  z_stream z{};
  bool fini = false;
  uint64_t maximum = 0;
  uint64_t produit = 0;
  std::size_t remplis = TFluxInflate::kTailleBloc;  // in the last block
  std::vector<std::unique_ptr<uint8_t[]>> blocs;
  ~Etat() { inflateEnd(&z); }
};

TInflateur::TInflateur(uint64_t Maximum) : etat_(std::make_unique<Etat>()) {
  if (inflateInit(&etat_->z) != Z_OK) throw EDecompressionError("Inflater: zlib cannot start");
  etat_->maximum = Maximum;
}

TInflateur::~TInflateur() = default;

void TInflateur::Ajouter(const uint8_t* Donnees, std::size_t Taille) {
  Etat& e = *etat_;
  if (Taille == 0) return;
  if (e.fini) throw EDecompressionError("Inflater: bytes after the end of the stream");
  // The size is known only at the end: the bytes stay in the blocks they were inflated into, never
  // in a buffer grown (zero-filled and copied) again and again.
  constexpr std::size_t kBloc = TFluxInflate::kTailleBloc;
  z_stream& z = e.z;
  const uint8_t* entree = Donnees;
  std::size_t reste = Taille;
  for (;;) {
    if (e.remplis == kBloc) {
      e.blocs.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBloc));
      e.remplis = 0;
    }
    if (z.avail_in == 0) {
      const std::size_t morceau = std::min<std::size_t>(reste, 1u << 30);
      z.next_in = const_cast<Bytef*>(entree);
      z.avail_in = static_cast<uInt>(morceau);
      entree += morceau;
      reste -= morceau;
    }
    z.next_out = e.blocs.back().get() + e.remplis;
    z.avail_out = static_cast<uInt>(kBloc - e.remplis);
    const uInt avant = z.avail_out;
    const int r = inflate(&z, Z_NO_FLUSH);
    e.remplis += avant - z.avail_out;
    e.produit += avant - z.avail_out;
    if (e.produit > e.maximum) throw EDecompressionError("Inflater: the stream inflates past its bound");
    if (r == Z_STREAM_END) {
      e.fini = true;
      if (z.avail_in != 0 || reste != 0) throw EDecompressionError("Inflater: bytes after the end of the stream");
      return;
    }
    if (r != Z_OK && r != Z_BUF_ERROR) throw EDecompressionError("Inflater: corrupt compressed stream");
    // Everything given was taken and the output has room left: the rest comes with the next piece.
    if (z.avail_in == 0 && reste == 0 && z.avail_out != 0) return;
  }
}

void TInflateur::Terminer(TFluxInflate& Flux) {
  Etat& e = *etat_;
  Flux.Vider();
  if (e.produit == 0 && !e.fini && e.z.total_in == 0) return;  // nothing at all inflates to nothing
  if (!e.fini) throw EDecompressionError("Inflater: the stream is cut short");
  Flux.blocs_ = std::move(e.blocs);
  Flux.taille_ = static_cast<int64_t>(e.produit);
  Flux.position_ = 0;
}

void Inflater(const uint8_t* Donnees, std::size_t Taille, TFluxInflate& Flux, uint64_t Maximum) {
  TInflateur inflateur(Maximum);
  inflateur.Ajouter(Donnees, Taille);
  inflateur.Terminer(Flux);
}

std::string Deflater(const void* Donnees, std::size_t Taille) {
  uLongf taille = compressBound(static_cast<uLong>(Taille));
  std::string sortie(taille, '\0');
  if (compress2(reinterpret_cast<Bytef*>(sortie.data()), &taille, static_cast<const Bytef*>(Donnees),
                static_cast<uLong>(Taille), Z_DEFAULT_COMPRESSION) != Z_OK)
    throw EWriteError("Deflater: zlib failed");
  sortie.resize(taille);
  return sortie;
}

// --- Reception record

bool TStreamRecu::Commencer(uint8_t Genre, uint32_t Total, uint64_t Maximum) {
  Liberer();
  if (Total > kTailleCompresseeMaximale) return false;
  enCours_ = true;
  genre_ = Genre;
  total_ = Total;
  recus_ = 0;
  inflateur_ = std::make_unique<TInflateur>(Maximum);
  return true;
}

TStreamRecu::TypeEtape TStreamRecu::Recevoir(const TypePiece& Piece) {
  if (!enCours_ || Piece.Genre != genre_) return TypeEtape::Ignore;
  if (Piece.Compte > kTailleZone || Piece.Compte > total_ - recus_) {
    Liberer();
    return TypeEtape::Corrompu;
  }
  recus_ += Piece.Compte;
  return recus_ >= total_ ? TypeEtape::Complet : TypeEtape::Suite;
}

void TStreamRecu::Inflater(const TypePiece& Piece) {
  if (inflateur_) inflateur_->Ajouter(Piece.Donnees, Piece.Compte);
}

void TStreamRecu::Terminer(TFluxInflate& Flux) {
  std::unique_ptr<TInflateur> inflateur = std::move(inflateur_);
  Liberer();
  if (inflateur) inflateur->Terminer(Flux);
}

void TStreamRecu::Liberer() {
  enCours_ = false;
  total_ = 0;
  recus_ = 0;
  inflateur_.reset();
}

// --- Both sides on a channel

void TTransfertStream::Enregistrer(TCommunicationIp& Canal, std::function<TypeAdresseMessage()> Adresse) {
  canal_ = &Canal;
  adresse_ = std::move(Adresse);
  // The protocol's table gives each kind its exact length.
  auto lier = [&](uint32_t Id, bool (TTransfertStream::*Traiter)(const uint8_t*, uint32_t)) {
    (void)Canal.EnregistrerMessage(Id, [this, Traiter](const TypeAdresseSocket&, const TypeAdresseMessage&, uint32_t,
                                                       const uint8_t* Donnees, uint32_t Taille) {
      return (this->*Traiter)(Donnees, Taille);
    });
  };
  lier(CM_DEMANDER_STREAM, &TTransfertStream::TraiterDemander);
  lier(CM_STREAM_PRET, &TTransfertStream::TraiterPret);
  lier(CM_STREAM_REFUSE, &TTransfertStream::TraiterRefuse);
  lier(CM_DEMANDER_STREAM_SUIVANT, &TTransfertStream::TraiterSuivant);
  lier(CM_ENVOYER_STREAM, &TTransfertStream::TraiterPiece);
  lier(CM_STREAM_BIEN_RECU, &TTransfertStream::TraiterBienRecu);
}

bool TTransfertStream::Envoyer(uint32_t Id, const void* Donnees, uint32_t Taille) {
  if (canal_ == nullptr) return false;
  return canal_->EnvoyerMessageDonnees(adresse_ ? adresse_() : TypeAdresseMessage{}, Id, Donnees, Taille);
}

bool TTransfertStream::Demander(uint8_t Genre) { return Envoyer(CM_DEMANDER_STREAM, &Genre, 1); }

void TTransfertStream::Abandonner() {
  recu_.Liberer();
  envoye_.reset();
}

void TTransfertStream::Corrompu(uint8_t Genre, const std::string& Raison) {
  recu_.Liberer();
  if (SurCorrompu) SurCorrompu(Genre, Raison);
}

bool TTransfertStream::TraiterPret(const uint8_t* Donnees, uint32_t Taille) {
  TypePret pret;
  if (!LirePret(Donnees, Taille, pret)) return true;
  if (!recu_.Commencer(pret.Genre, pret.Total, TailleInflateeMaximale)) {
    Corrompu(pret.Genre, "announced size beyond the bound");
    return true;
  }
  if (SurProgression) SurProgression(pret.Genre, 0, pret.Total);
  const auto m = DemanderStreamSuivant(pret.Genre, 0, kTaillePiece);
  (void)Envoyer(CM_DEMANDER_STREAM_SUIVANT, m.data(), kLongueurSuivant);
  return true;
}

bool TTransfertStream::TraiterPiece(const uint8_t* Donnees, uint32_t Taille) {
  TypePiece piece;
  if (!LirePiece(Donnees, Taille, piece)) return true;
  const TStreamRecu::TypeEtape etape = recu_.Recevoir(piece);
  if (etape == TStreamRecu::TypeEtape::Ignore) return true;
  if (etape == TStreamRecu::TypeEtape::Corrompu) {
    Corrompu(piece.Genre, "piece beyond its area or the announced size");
    return true;
  }
  if (piece.Compte > 0 && SurProgression) SurProgression(piece.Genre, recu_.Recus(), recu_.Total());
  const bool complet = etape == TStreamRecu::TypeEtape::Complet;
  // The next piece is asked for first: the server prepares it while this one is inflated.
  if (!complet) {
    const auto m = DemanderStreamSuivant(piece.Genre, recu_.Recus(), kTaillePiece);
    (void)Envoyer(CM_DEMANDER_STREAM_SUIVANT, m.data(), kLongueurSuivant);
  }
  try {
    recu_.Inflater(piece);
  } catch (const Exception& e) {
    Corrompu(piece.Genre, e.Message());
    return true;
  }
  if (complet) Lire();
  return true;
}

void TTransfertStream::Lire() {
  const uint8_t genre = recu_.Genre();
  (void)Envoyer(CM_STREAM_BIEN_RECU, &genre, 1);
  try {
    // The record is done with first: a reader may run a nested wait during which another stream
    // starts on this connection.
    TFluxInflate flux;
    recu_.Terminer(flux);
    if (SurLire) SurLire(flux, genre);
  } catch (const Exception& e) {
    Corrompu(genre, e.Message());
    return;
  }
  if (SurLu) SurLu(genre);
}

bool TTransfertStream::TraiterRefuse(const uint8_t* Donnees, uint32_t Taille) {
  if (Donnees == nullptr || Taille != kLongueurRefuse) return true;
  if (SurRefus) SurRefus(Donnees[0]);
  return true;
}

bool TTransfertStream::TraiterDemander(const uint8_t* Donnees, uint32_t Taille) {
  if (Donnees == nullptr || Taille != kLongueurDemander) return true;
  const uint8_t genre = Donnees[0];
  envoye_.reset();
  bool pret = PeutEnvoyer && PeutEnvoyer(genre);
  if (pret) {
    TMemoryStream contenu;
    pret = SurPreparer && SurPreparer(contenu, genre);
    if (pret && contenu.Size() <= int64_t{kTailleCompresseeMaximale}) {
      envoye_ = std::make_unique<std::string>(Deflater(contenu.Memory(), static_cast<std::size_t>(contenu.Size())));
      pret = envoye_->size() <= kTailleCompresseeMaximale;
    } else {
      pret = false;
    }
  }
  if (!pret) {
    envoye_.reset();
    const auto m = StreamRefuse(genre);
    (void)Envoyer(CM_STREAM_REFUSE, m.data(), kLongueurRefuse);
    return true;
  }
  genreEnvoye_ = genre;
  const auto m = StreamPret(genre, static_cast<uint32_t>(envoye_->size()));
  (void)Envoyer(CM_STREAM_PRET, m.data(), kLongueurPret);
  return true;
}

bool TTransfertStream::TraiterSuivant(const uint8_t* Donnees, uint32_t Taille) {
  TypeSuivant suivant;
  if (!LireSuivant(Donnees, Taille, suivant) || !envoye_ || suivant.Genre != genreEnvoye_) return true;
  const std::size_t taille = envoye_->size();
  const std::size_t debut = std::min<std::size_t>(suivant.Position, taille);
  const uint32_t compte = static_cast<uint32_t>(std::min<std::size_t>({taille - debut, suivant.Taille, kTailleZone}));
  const auto m = EnvoyerStream(suivant.Genre, envoye_->data() + debut, compte);
  (void)Envoyer(CM_ENVOYER_STREAM, m.data(), kLongueurEnvoyer);
  return true;
}

bool TTransfertStream::TraiterBienRecu(const uint8_t* Donnees, uint32_t Taille) {
  if (Donnees == nullptr || Taille != kLongueurBienRecu) return true;
  if (envoye_ && Donnees[0] == genreEnvoye_) envoye_.reset();
  return true;
}

}  // namespace TransfertStream
