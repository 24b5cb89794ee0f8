// Texts kept only in coded form: a fixed-length code whose first 4 characters are the key of the
// rest, which holds the scrambled text, a 0 separator and filler digits. The login names and
// passwords of the client/server layer derive from it. Obfuscation of stored credentials, not
// cryptography: the key travels inside the code.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/Comparable.h"
#include "core/serial/Serialisation.h"

class TCustomCodage : public TCustomSerializable, public IComparable {
 public:
  // The class methods of a coding class: descendants change the code length and the default key.
  struct Class : TClass {
    using TClass::TClass;
    // Characters of a code after its 4 key characters.
    virtual int32_t TailleCode() const { return 12; }
    // The default key when Coder is given an empty one: four decimal digits.
    virtual std::string CleParDefaut() const { return "2817"; }
    // Codes Clair with Cle (the default key when empty). A key shorter than 4 characters is refused
    // with EConvertError.
    virtual void Coder(const std::string& Clair, const std::string& Cle, std::string& Code) const;
    // The clear text of a code; empty for an empty code.
    virtual void Decoder(const std::string& Code, std::string& Clair) const;
  };
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  // The class methods of this object's own class.
  const Class* Classe() const { return static_cast<const Class*>(ClassType()); }

  // Codes Clair with the class's own Coder and an empty key, and keeps the code.
  explicit TCustomCodage(const std::string& Clair);
  explicit TCustomCodage(TBlank b) : TCustomSerializable(b) {}

  std::string GetTexte() const;
  const std::string& GetCode() const { return code_; }
  // Keeps the given code when it differs from the kept one.
  void SetCode(const std::string& Code);
  // The code becomes TailleCode + 4 characters taken from the first n + 1 bytes of Zone (zero
  // filled when the zone is shorter).
  void SetCodeBrut(const void* Zone, int32_t n);
  // A code of n + 2 characters: the n + 1 bytes of Zone, then a 0.
  static void CodeDepuisTampon(const void* Zone, int32_t n, std::string& Code);
  static void CopierCode(const std::string& Code, std::string& Copie) { Copie = Code; }

  // The clear texts compared with the collation's word sort, case-sensitive; -1, 0 or 1. Another
  // kind of object is ordered by address.
  int32_t Comparer(TObject* Autre, int32_t Mode) override;

  // The code's length (32-bit unsigned), then its bytes as a raw zone when not empty.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // A length beyond the bytes the stream still holds raises EReadError before anything is read.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

 protected:
  TCustomCodage(const Class* Classe, const std::string& Clair);
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  std::string code_;
};

// Binds a descendant's descriptor: define with
//   const TCustomCodage::Class* TLogin::StaticClass() {
//     static const TCodageClassOf<TLogin, TLoginClass> d("TLogin", TCustomCodage::StaticClass()); return &d; }
template <class Self, class Base = TCustomCodage::Class>
struct TCodageClassOf final : Base {
  TCodageClassOf(const char* name, const TClass* parent) : Base(name, parent, &NewBlankOf<Self>) {}
};

namespace Codage {
// Registers TCustomCodage by name, so a code can be read back from a stream.
void Initialiser();
}  // namespace Codage
