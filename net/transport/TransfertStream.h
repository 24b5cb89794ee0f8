// The transfer of a whole stream over the TCP link: the six stream messages and their fixed layouts,
// the reception of a stream asked for (announced size, 4096-byte pieces asked one after the other,
// acknowledgement, zlib inflation) and the serving of a stream that the server asks this client for
// (deflated whole, then read out in the pieces asked). Each piece received is inflated once the
// next one has been asked for, so that the server sends while this side inflates; the readers get
// the stream only when it is complete.
//
//   CM_DEMANDER_STREAM          1     genre
//   CM_STREAM_PRET              8     genre, 3 unused, total size of the compressed stream (u32)
//   CM_STREAM_REFUSE            8     genre, 7 unused
//   CM_DEMANDER_STREAM_SUIVANT  12    genre, 3 unused, position (u32), bytes asked (u32)
//   CM_ENVOYER_STREAM           4108  genre, 3 unused, count (u32), 4100-byte area (count bytes used)
//   CM_STREAM_BIEN_RECU         1     genre
// Little-endian; unused bytes are sent as zero and not read. A message of another length is ignored.
//
// Nothing announced is trusted: a compressed stream larger than kTailleCompresseeMaximale is refused
// at its announcement, a piece counting more than its area or than what remains of the announced
// size is a corrupt stream, and a stream that inflates past kTailleInflateeMaximale or does not
// inflate is a corrupt stream. A corrupt stream goes to SurCorrompu (the owner closes the link and
// reconnects) instead of reaching the readers. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/serial/Streams.h"
#include "net/protocol/Trame.h"

class TCommunicationIp;

// The compressed bytes of a stream do not inflate, or inflate past the bound.
class EDecompressionError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

namespace TransfertStream {

inline constexpr uint32_t kTaillePiece = 4096;
inline constexpr uint32_t kTailleZone = 4100;
inline constexpr uint32_t kLongueurDemander = 1;
inline constexpr uint32_t kLongueurPret = 8;
inline constexpr uint32_t kLongueurRefuse = 8;
inline constexpr uint32_t kLongueurSuivant = 12;
inline constexpr uint32_t kLongueurEnvoyer = 8 + kTailleZone;
inline constexpr uint32_t kLongueurBienRecu = 1;
// Bounds of a received stream: far above any real base, far below what would exhaust the machine.
inline constexpr uint32_t kTailleCompresseeMaximale = 512u << 20;
inline constexpr uint64_t kTailleInflateeMaximale = uint64_t{512} << 20;

// The messages' data.
std::array<uint8_t, kLongueurPret> StreamPret(uint8_t Genre, uint32_t Total);
std::array<uint8_t, kLongueurRefuse> StreamRefuse(uint8_t Genre);
std::array<uint8_t, kLongueurSuivant> DemanderStreamSuivant(uint8_t Genre, uint32_t Position, uint32_t Taille);
// Count is cut to the 4100-byte area.
std::array<uint8_t, kLongueurEnvoyer> EnvoyerStream(uint8_t Genre, const void* Donnees, uint32_t Compte);

// Readers: False for a message of another length. A piece's count is given as read: the reception
// record checks it against the area.
struct TypePret {
  uint8_t Genre = 0;
  uint32_t Total = 0;
};
struct TypeSuivant {
  uint8_t Genre = 0;
  uint32_t Position = 0;
  uint32_t Taille = 0;
};
struct TypePiece {
  uint8_t Genre = 0;
  uint32_t Compte = 0;
  const uint8_t* Donnees = nullptr;  // inside the message
};
[[nodiscard]] bool LirePret(const uint8_t* Donnees, uint32_t Taille, TypePret& Pret);
[[nodiscard]] bool LireSuivant(const uint8_t* Donnees, uint32_t Taille, TypeSuivant& Suivant);
[[nodiscard]] bool LirePiece(const uint8_t* Donnees, uint32_t Taille, TypePiece& Piece);

// A stream inflated in memory, read-only: its bytes stay in the blocks they were inflated into.
class TFluxInflate : public TStream {
 public:
  static constexpr std::size_t kTailleBloc = std::size_t{1} << 20;

  int64_t Read(void* Tampon, int64_t Nombre) override;
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t Decalage, TSeekOrigin Origine) override;
  int64_t Size() const override { return taille_; }
  // Raises EWriteError.
  void SetSize(int64_t) override;
  void Vider();
  // The whole content, whatever the position (which is kept).
  std::string Texte();

 private:
  friend class TInflateur;
  std::vector<std::unique_ptr<uint8_t[]>> blocs_;
  int64_t taille_ = 0;
  int64_t position_ = 0;
};

// Inflates one zlib stream given piece by piece, into blocks. Ajouter raises EDecompressionError for
// bytes that are not zlib, for bytes after the end of the stream and past Maximum inflated bytes;
// Terminer raises it for a stream cut short, and moves the bytes into Flux.
class TInflateur {
 public:
  explicit TInflateur(uint64_t Maximum);
  ~TInflateur();
  void Ajouter(const uint8_t* Donnees, std::size_t Taille);
  void Terminer(TFluxInflate& Flux);

 private:
  struct Etat;
  std::unique_ptr<Etat> etat_;
};

// Inflates a whole zlib stream into Flux (replaced, positioned at 0). Nothing at all inflates to
// nothing. Raises EDecompressionError for bytes that are not one complete zlib stream, for bytes
// after its end, and for more than Maximum inflated bytes.
void Inflater(const uint8_t* Donnees, std::size_t Taille, TFluxInflate& Flux,
              uint64_t Maximum = kTailleInflateeMaximale);
// The zlib stream of the bytes at the default compression level.
std::string Deflater(const void* Donnees, std::size_t Taille);

// The stream being received on a connection.
class TStreamRecu {
 public:
  enum class TypeEtape {
    Ignore,    // no stream of that kind is expected: nothing changed
    Suite,     // the piece was taken; more are due from Recus()
    Complet,   // every announced byte is there
    Corrompu   // the piece does not fit what was announced: the record is dropped
  };

  // CM_STREAM_PRET: a fresh record of that kind, whose stream may inflate to Maximum bytes. False
  // (and no record) when the announced size is beyond kTailleCompresseeMaximale.
  [[nodiscard]] bool Commencer(uint8_t Genre, uint32_t Total, uint64_t Maximum = kTailleInflateeMaximale);
  // Counts a piece against what was announced.
  TypeEtape Recevoir(const TypePiece& Piece);
  // Inflates a piece counted (raises EDecompressionError, see TInflateur).
  void Inflater(const TypePiece& Piece);
  // The stream complete: its inflated bytes into Flux, and the record freed (raises when the
  // compressed stream is cut short).
  void Terminer(TFluxInflate& Flux);
  void Liberer();

  bool EnCours() const { return enCours_; }
  uint8_t Genre() const { return genre_; }
  uint32_t Total() const { return total_; }
  uint32_t Recus() const { return recus_; }

 private:
  bool enCours_ = false;
  uint8_t genre_ = 0;
  uint32_t total_ = 0;
  uint32_t recus_ = 0;
  std::unique_ptr<TInflateur> inflateur_;
};

// Both sides of the stream protocol on one channel. The owner registers the six kinds with
// Enregistrer, asks with Demander, and sets the events it needs.
class TTransfertStream {
 public:
  TTransfertStream() = default;
  TTransfertStream(const TTransfertStream&) = delete;
  TTransfertStream& operator=(const TTransfertStream&) = delete;

  // Registers the six stream kinds on the channel (a message of another length than its kind's is
  // not handed on). Messages are sent to Adresse() of the owner.
  void Enregistrer(TCommunicationIp& Canal, std::function<TypeAdresseMessage()> Adresse);
  // CM_DEMANDER_STREAM.
  bool Demander(uint8_t Genre);
  // The stream being received (the owner drops it with the connection).
  TStreamRecu& Recu() { return recu_; }
  void Abandonner();

  // Receiving. SurLire gets the inflated stream positioned at 0; an exception from it (a reader
  // that finds the content corrupt) or from the inflation makes the stream corrupt.
  std::function<void(uint8_t Genre, uint32_t Position, uint32_t Total)> SurProgression;
  std::function<void(TStream& Flux, uint8_t Genre)> SurLire;
  std::function<void(uint8_t Genre)> SurRefus;
  // Run once SurLire is done with the stream, before the record is freed.
  std::function<void(uint8_t Genre)> SurLu;
  std::function<void(uint8_t Genre, const std::string& Raison)> SurCorrompu;
  // Serving: whether that kind may be served (False when unset), and the writer of its content
  // (True when it wrote it).
  std::function<bool(uint8_t Genre)> PeutEnvoyer;
  std::function<bool(TStream& Flux, uint8_t Genre)> SurPreparer;
  // The most a received stream may inflate to.
  uint64_t TailleInflateeMaximale = kTailleInflateeMaximale;

  // The handlers, public for tests that drive them without a socket.
  bool TraiterDemander(const uint8_t* Donnees, uint32_t Taille);
  bool TraiterPret(const uint8_t* Donnees, uint32_t Taille);
  bool TraiterRefuse(const uint8_t* Donnees, uint32_t Taille);
  bool TraiterSuivant(const uint8_t* Donnees, uint32_t Taille);
  bool TraiterPiece(const uint8_t* Donnees, uint32_t Taille);
  bool TraiterBienRecu(const uint8_t* Donnees, uint32_t Taille);

 private:
  bool Envoyer(uint32_t Id, const void* Donnees, uint32_t Taille);
  void Corrompu(uint8_t Genre, const std::string& Raison);
  // Acknowledges the complete stream and hands it to SurLire.
  void Lire();

  TCommunicationIp* canal_ = nullptr;
  std::function<TypeAdresseMessage()> adresse_;
  TStreamRecu recu_;
  // The stream being served: its compressed bytes and the kind.
  std::unique_ptr<std::string> envoye_;
  uint8_t genreEnvoye_ = 0;
};

}  // namespace TransfertStream
