// What the fuzz targets share: the units started once, as the service starts them, and a reader of
// the fuzzed bytes that hands out choices and values without ever reading past their end. Each target
// (fuzz/targets/<Name>.cpp) defines LLVMFuzzerTestOneInput for one reader of outside bytes; libFuzzer
// or the replay main calls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size);

namespace Fuzz {

// Starts the module tables of every library up to the settings on the first call. They
// are not stopped: a fuzzer ends its process at any point, after class descriptors made on first use
// are gone, and what the units keep stays reachable.
void Demarrer();

// The fuzzed bytes, consumed from the front. Past the end every value is zero and every text empty.
class TOctets {
 public:
  TOctets(const uint8_t* Data, std::size_t Size) : data_(Data), reste_(Size) {}

  uint8_t Octet() { return Valeur<uint8_t>(); }
  // A value of sizeof(V) bytes, little-endian, zero-filled when the bytes run out.
  template <class V>
  V Valeur() {
    static_assert(std::is_trivially_copyable_v<V>);
    unsigned char octets[sizeof(V)] = {};
    const std::size_t n = reste_ < sizeof(V) ? reste_ : sizeof(V);
    if (n > 0) std::memcpy(octets, data_, n);
    Avancer(n);
    V v;
    std::memcpy(&v, octets, sizeof(V));
    return v;
  }
  // A text of at most Maximum bytes: a length byte (taken modulo Maximum + 1), then the bytes.
  std::string Texte(std::size_t Maximum = 255) {
    std::size_t n = Octet() % (Maximum + 1);
    if (n > reste_) n = reste_;
    std::string s(reinterpret_cast<const char*>(data_), n);
    Avancer(n);
    return s;
  }
  // The next n bytes, fewer when the input ends first.
  std::string_view Octets(std::size_t n) {
    if (n > reste_) n = reste_;
    std::string_view s(reinterpret_cast<const char*>(data_), n);
    Avancer(n);
    return s;
  }
  // True once every byte has been consumed.
  bool Fini() const { return reste_ == 0; }
  // Everything that is left.
  std::string_view Reste() {
    std::string_view s(reinterpret_cast<const char*>(data_), reste_);
    Avancer(reste_);
    return s;
  }

 private:
  void Avancer(std::size_t n) {
    data_ += n;
    reste_ -= n;
  }

  const uint8_t* data_;
  std::size_t reste_;
};

}  // namespace Fuzz

class TObject;
class TClass;
class TBinaryFormatter;
class TStream;

namespace Fuzz {

// A formatter on Flux in the layout that the bits of Disposition choose: bit 0 the sized layout
// (otherwise the plain one), bit 1 the strict mode.
std::unique_ptr<TBinaryFormatter> Formateur(uint8_t Disposition, TStream* Flux);

// A graph of objects read from a stream. The objects that its object arrays hold without owning them
// were handed by the reader to its caller: they are collected when the graph is taken, before
// anything changes it, and freed after its root (each once).
class TGraphe {
 public:
  explicit TGraphe(TObject* Racine);
  ~TGraphe();
  TGraphe(const TGraphe&) = delete;
  TGraphe& operator=(const TGraphe&) = delete;
  TObject* Racine() const { return racine_; }

 private:
  TObject* racine_;
  std::vector<TObject*> nonPossedes_;
};

// Reads one object of Classe straight from the bytes, with a formatter of that Disposition: the object
// is built blank and reads its own content (no class name before it). A corrupt stream must be refused
// with the system's exceptions; an object read must write bytes that read back, consuming them
// exactly, and write the same bytes again.
void LireDirectement(const TClass* Classe, uint8_t Disposition, std::string_view Octets);

// Stops the run (a crash the fuzzer saves) when a property that must hold for every input does not.
void Verifier(bool Condition, const char* Propriete);

}  // namespace Fuzz
