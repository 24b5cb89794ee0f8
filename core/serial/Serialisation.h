// Binary serialisation of the whole system: a formatter reads and writes typed values on a stream
// (little-endian, no header, tag or padding) and writes whole objects under their class name so that
// a reader re-creates them by name. Arrays, parameters, error trees, the base streams and the network
// orders are all written through it.
#pragma once

#include <cstdint>
#include <string>

#include "core/serial/FormatSerialisation.h"
#include "core/objects/ObjetInterfacable.h"
#include "core/serial/Streams.h"

// A serialisation-format class (or nil): the way nested objects are written.
using TClasseFormat = const TCustomFormatSerialisation::Class*;

// The typed operations of a formatter. Every operation returns a count of bytes (or of values, as
// stated); reads fill the variable passed by reference, and leave it untouched when its bytes did not
// all come.
struct IFormateur : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{C69B3581-A8CD-40B4-A22A-2E1B4DFB30B3}");

  virtual int32_t GetPosition() = 0;
  virtual void SetPosition(int32_t Valeur) = 0;
  virtual void EcrireObjet(TObject* Objet, TClasseFormat ClasseFormat) = 0;
  virtual TObject* LireObjet(TClasseFormat Contexte) = 0;

  virtual int32_t EcrireTampon(const void* Zone, int32_t Taille) = 0;
  virtual int32_t LireTampon(void* Zone, int32_t Taille) = 0;
  virtual int32_t EcrireBooleen(bool Valeur) = 0;
  virtual int32_t LireBooleen(bool& Valeur) = 0;
  virtual int32_t EcrireCaractere(char Valeur) = 0;
  virtual int32_t LireCaractere(char& Valeur) = 0;
  virtual int32_t EcrireShortInt(int8_t Valeur) = 0;
  virtual int32_t LireShortInt(int8_t& Valeur) = 0;
  virtual int32_t EcrireSmallInt(int16_t Valeur) = 0;
  virtual int32_t LireSmallInt(int16_t& Valeur) = 0;
  virtual int32_t EcrireEntier(int32_t Valeur) = 0;
  virtual int32_t LireEntier(int32_t& Valeur) = 0;
  virtual int32_t EcrireInt64(int64_t Valeur) = 0;
  virtual int32_t LireInt64(int64_t& Valeur) = 0;
  virtual int32_t EcrireOctet(uint8_t Valeur) = 0;
  virtual int32_t LireOctet(uint8_t& Valeur) = 0;
  virtual int32_t EcrireWord(uint16_t Valeur) = 0;
  virtual int32_t LireWord(uint16_t& Valeur) = 0;
  virtual int32_t EcrireCardinal(uint32_t Valeur) = 0;
  virtual int32_t LireCardinal(uint32_t& Valeur) = 0;
  virtual int32_t EcrireDouble(double Valeur) = 0;
  virtual int32_t LireDouble(double& Valeur) = 0;
  // The 10-byte extended-precision value, converted from and to a double.
  virtual int32_t EcrireExtended(double Valeur) = 0;
  virtual int32_t LireExtended(double& Valeur) = 0;
  virtual int32_t EcrireChaine(const std::string& S) = 0;
  virtual int32_t LireChaine(std::string& S) = 0;
  virtual int32_t EcrireChaineLarge(const std::u16string& W) = 0;
  virtual int32_t LireChaineLarge(std::u16string& W) = 0;
  virtual int32_t EcrireFlux(TStream* Source) = 0;
  virtual int32_t LireFlux(TStream* Destination) = 0;

 protected:
  ~IFormateur() = default;
};

// An object that writes and reads its own data through a formatter. Contexte is the format class for
// the objects nested in this one (passed on to EcrireObjet), or nil.
struct ISerializable : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{F891A438-1D4D-4C8A-AE52-642A95678D76}");
  virtual void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) = 0;
  virtual void Lire(IFormateur* Formateur, TClasseFormat Contexte) = 0;

 protected:
  ~ISerializable() = default;
};

// The stream, its ownership and the strict mode; writes and re-creates objects. The typed operations
// are left to the concrete formatters.
//
// An object is written as the string of its class name, then the string of its format class's name
// (or "NIL") and its content; a nil object as the string "NIL" alone. Reading re-creates the object
// blank (no constructor runs) by the registered class name. A name that is not registered, a class
// that cannot be built or read, and any short or corrupt content raise EReadError: a reader never gets
// a half-read object. A named format class builds the object itself and may answer nil (a reference
// to an object that the reader does not hold).
class TCustomFormatter : public TObjetInterfacable, public IFormateur {
  NV_DECLARE_CLASS(TCustomFormatter)
 public:
  // Works on Flux, which stays the caller's; with nil, on an in-memory stream of its own.
  explicit TCustomFormatter(TStream* Flux = nullptr);
  explicit TCustomFormatter(TBlank b) : TObjetInterfacable(b) {}
  ~TCustomFormatter() override;

  bool ProprietaireFlux = false;
  // Short reads and writes raise EReadError instead of being reported through the counts.
  bool ModeStrict = false;

  TStream* Flux() const { return flux_; }
  int32_t GetPosition() override;
  void SetPosition(int32_t Valeur) override;
  int32_t GetTaille() const;
  // The memory block of the stream when it is an in-memory stream, otherwise nil.
  const uint8_t* GetTampon() const;

  // Objet must be nil or serialisable: any other object raises EWriteError, since what is written
  // could not be read back.
  void EcrireObjet(TObject* Objet, TClasseFormat ClasseFormat) override;
  // Contexte is accepted and not used: the stream names the format class.
  TObject* LireObjet(TClasseFormat Contexte) override;

  // Nested objects deeper than this are taken as a corrupt stream (a hostile stream could otherwise
  // exhaust the call stack).
  static constexpr int kProfondeurMaximale = 1000;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

  // The bytes between the position and the end of the stream.
  int64_t Restant() const;
  [[noreturn]] static void ErreurLecture();
  [[noreturn]] static void ErreurEcriture();

 private:
  TObject* CreerEtLireSansFormat(const TClass* Classe);

  TStream* flux_ = nullptr;
  int profondeur_ = 0;
};

// The plain layout: each value is its fixed-width little-endian bytes; a string its 32-bit length
// and bytes; a raw zone and an embedded stream their bytes alone.
class TBinaryFormatter : public TCustomFormatter {
  NV_DECLARE_CLASS(TBinaryFormatter)
 public:
  using TCustomFormatter::TCustomFormatter;

  // Every byte of the values goes through these two. In strict mode a count other than Taille
  // raises EReadError ("Erreur d'écriture dans le flux" / "Erreur de lecture du flux").
  virtual int32_t EcrireBrut(const void* Zone, int32_t Taille);
  virtual int32_t LireBrut(void* Zone, int32_t Taille);

  int32_t EcrireTampon(const void* Zone, int32_t Taille) override;
  int32_t LireTampon(void* Zone, int32_t Taille) override;
  int32_t EcrireBooleen(bool Valeur) override;
  int32_t LireBooleen(bool& Valeur) override;
  int32_t EcrireCaractere(char Valeur) override;
  int32_t LireCaractere(char& Valeur) override;
  int32_t EcrireShortInt(int8_t Valeur) override;
  int32_t LireShortInt(int8_t& Valeur) override;
  int32_t EcrireSmallInt(int16_t Valeur) override;
  int32_t LireSmallInt(int16_t& Valeur) override;
  int32_t EcrireEntier(int32_t Valeur) override;
  int32_t LireEntier(int32_t& Valeur) override;
  int32_t EcrireInt64(int64_t Valeur) override;
  int32_t LireInt64(int64_t& Valeur) override;
  int32_t EcrireOctet(uint8_t Valeur) override;
  int32_t LireOctet(uint8_t& Valeur) override;
  int32_t EcrireWord(uint16_t Valeur) override;
  int32_t LireWord(uint16_t& Valeur) override;
  int32_t EcrireCardinal(uint32_t Valeur) override;
  int32_t LireCardinal(uint32_t& Valeur) override;
  int32_t EcrireDouble(double Valeur) override;
  int32_t LireDouble(double& Valeur) override;
  int32_t EcrireExtended(double Valeur) override;
  int32_t LireExtended(double& Valeur) override;
  // Returns the count of characters written (0 for the empty string; the length is not counted).
  int32_t EcrireChaine(const std::string& S) override;
  // A negative length, or one longer than what remains in the stream, raises EReadError.
  int32_t LireChaine(std::string& S) override;
  int32_t EcrireChaineLarge(const std::u16string& W) override;
  int32_t LireChaineLarge(std::u16string& W) override;
  // Copies the whole of Source (from its start); nothing for an empty source. Returns its size.
  int32_t EcrireFlux(TStream* Source) override;
  // Copies the whole of this formatter's stream, from its start, to Destination; returns its size.
  int32_t LireFlux(TStream* Destination) override;

 protected:
  // The string's length once read: -1 when its 4 bytes did not all come (then S is untouched).
  int32_t LireLongueur(int32_t& Longueur);
  int32_t LireOctetsChaine(std::string& S, int32_t Longueur);
  // Copies count bytes from one stream to another; returns the count copied.
  static int64_t Copier(TStream& Source, TStream& Destination, int64_t Nombre);

 private:
  template <class T>
  int32_t EcrireFixe(T Valeur);
  template <class T>
  int32_t LireFixe(T& Valeur);
};

// The sized layout: raw zones and embedded streams carry their 32-bit size before them, so that a
// reader that expects a shorter zone skips the rest and one that expects a longer zone gets what was
// stored. Strings and fixed-width values are written as by TBinaryFormatter.
class TBinaryFormatterWithSize : public TBinaryFormatter {
  NV_DECLARE_CLASS(TBinaryFormatterWithSize)
 public:
  using TBinaryFormatter::TBinaryFormatter;

  int32_t EcrireTampon(const void* Zone, int32_t Taille) override;
  // Reads the stored zone into Zone, up to Taille bytes, and skips what Zone cannot take. Returns
  // the count read when the stored size is Taille, otherwise the stored size (the caller compares),
  // -1 when the size itself could not be read. A negative stored size, or one larger than what remains
  // in the stream, raises EReadError.
  int32_t LireTampon(void* Zone, int32_t Taille) override;
  int32_t EcrireChaine(const std::string& S) override;
  int32_t LireChaine(std::string& S) override;
  int32_t EcrireFlux(TStream* Source) override;
  // Copies the stored size's bytes from the current position; a short copy raises EReadError.
  int32_t LireFlux(TStream* Destination) override;

 private:
  // The 4 bytes of a size, straight to or from the stream: false when they did not all pass.
  bool EcrireTaille(int32_t Taille);
  bool LireTaille(int32_t& Taille);
};

// The usual base of serialisable objects. Its class is registered by name as soon as an object of it
// is handled as serialisable (asked for ISerializable, as EcrireObjet does), so that what this process
// writes it can read back; classes that must be readable before any object of theirs has been handled
// register at start-up.
class TCustomSerializable : public TObjetInterfacable, public ISerializable {
  NV_DECLARE_CLASS(TCustomSerializable)
 public:
  TCustomSerializable() = default;
  explicit TCustomSerializable(TBlank b) : TObjetInterfacable(b) {}

  // Nothing is written or read by this class.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

namespace Serialisation {

// The 80-bit extended-precision layout (64-bit mantissa with explicit integer bit, 15-bit exponent
// biased by 16383, sign), little-endian, converted from and to a double by bit arithmetic alone.
// Every double converts exactly; a value beyond the double range becomes an infinity, a value below
// it rounds to nearest (ties to even) into the subnormals or zero.
void DoubleToExtended80(double Valeur, uint8_t (&Octets)[10]);
double Extended80ToDouble(const uint8_t (&Octets)[10]);

}  // namespace Serialisation
