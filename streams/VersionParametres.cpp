#include "streams/VersionParametres.h"

#include "net/protocol/PetitBoutiste.h"

namespace VersionParametres {

TypeVersion& VersionParametresUtilisateur() {
  static TypeVersion version;
  return version;
}

bool PresentDepuis(uint32_t Majeur, uint32_t Mineur, uint32_t Release) {
  return !Version::EstInferieureA(VersionParametresUtilisateur(), Majeur, Mineur, Release, 0, 3);
}

bool PresentDepuisBuild(uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build) {
  return !Version::EstInferieureA(VersionParametresUtilisateur(), Majeur, Mineur, Release, Build, 4);
}

bool LireSection(TStream* Flux, void* Tampon, int32_t n) {
  if (Flux == nullptr) return false;
  const int64_t debut = Flux->Position();
  uint8_t octets[4];
  if (Flux->Read(octets, 4) != 4) {
    Flux->SetPosition(debut);
    return false;
  }
  const auto stocke = static_cast<int32_t>(PetitBoutiste::LireCardinal(octets));
  if (stocke < 0 || stocke > Flux->Remaining()) {
    Flux->SetPosition(debut);
    return false;
  }
  if (stocke != n) {
    Flux->Seek(stocke, TSeekOrigin::soCurrent);
    return false;
  }
  Flux->ReadBuffer(Tampon, n);  // within the stream: checked above
  return true;
}

}  // namespace VersionParametres
