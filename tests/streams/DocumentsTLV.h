// What the tests of property trees and TLV documents share: a builder of document bytes by hand,
// the check of an error's exact class and text, and a deep comparison of two trees.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeinfo>

#include "core/serial/Streams.h"
#include "streams/Proprietes.h"

namespace EssaiTLV {

// Document bytes written field by field, little-endian.
class TOctets {
 public:
  TOctets& Entete() { return Texte("TLVtlv"); }
  TOctets& Entier(int32_t v) {
    for (int i = 0; i < 4; ++i) s_ += static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return *this;
  }
  TOctets& Octet(uint8_t o) {
    s_ += static_cast<char>(o);
    return *this;
  }
  TOctets& Texte(std::string_view t) {
    s_ += t;
    return *this;
  }
  TOctets& Zeros(std::size_t n) {
    s_.append(n, '\0');
    return *this;
  }
  // A name with its length, then the tag.
  TOctets& Nom(std::string_view nom, uint8_t tag) { return Entier(static_cast<int32_t>(nom.size())).Texte(nom).Octet(tag); }
  const std::string& Octets() const { return s_; }

 private:
  std::string s_;
};

// The document of the grids' shared flag: "ProprietesCommunes" holding "RemonterExceptions", a
// boolean of that byte (71 bytes).
inline std::string DocumentCommun(uint8_t octet) {
  return TOctets()
      .Entete()
      .Entier(1)
      .Nom("ProprietesCommunes", 6)
      .Entete()
      .Entier(1)
      .Nom("RemonterExceptions", 5)
      .Entier(1)
      .Octet(octet)
      .Octets();
}

inline void Charger(TMemoryStream& flux, const std::string& octets) { flux.Assign(octets.data(), octets.size()); }

// Runs Action and expects exactly the class E (not a descendant) with exactly Texte.
template <class E>
void AttendreErreur(const std::function<void()>& Action, const std::string& Texte) {
  try {
    Action();
    ADD_FAILURE() << "nothing raised; expected " << Texte;
  } catch (const E& e) {
    EXPECT_EQ(typeid(e), typeid(E)) << e.Message();
    EXPECT_EQ(e.Message(), Texte);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "another error: " << typeid(e).name() << " " << e.what() << "; expected " << Texte;
  }
}

// The same names in the same order and equal values at every level.
inline bool MemesArbres(const TProprietes& a, const TProprietes& b) {
  if (a.Nombre() != b.Nombre()) return false;
  for (int32_t i = 0; i < a.Nombre(); ++i) {
    std::string_view na, nb;
    TypeValeurProp va, vb;
    a.Element(i, na, va);
    b.Element(i, nb, vb);
    if (na != nb || va.Genre != vb.Genre) return false;
    bool egaux = false;
    switch (va.Genre) {
      case tvEntier: egaux = va.Entier == vb.Entier; break;
      case tvCardinal: egaux = va.Cardinal == vb.Cardinal; break;
      case tvHuitOctets: egaux = va.HuitOctets == vb.HuitOctets; break;
      case tvEtendu: egaux = va.Etendu == vb.Etendu; break;
      case tvChaine: egaux = va.Chaine == vb.Chaine; break;
      case tvBooleen: egaux = va.Booleen == vb.Booleen; break;
      case tvProprietes: egaux = MemesArbres(*va.Proprietes, *vb.Proprietes); break;
      case tvEnsemble: egaux = va.Ensemble == vb.Ensemble; break;
      case tvBlob: egaux = std::equal(va.Blob.begin(), va.Blob.end(), vb.Blob.begin(), vb.Blob.end()); break;
    }
    if (!egaux) return false;
  }
  return true;
}

}  // namespace EssaiTLV
