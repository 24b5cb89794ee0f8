// The backup and archive settings of the base parameter block: any bytes are read; settings that
// read are written, and what is written reads back to the same bytes. Input: the stored bytes.
#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "streams/SupArchivageEtSauvegarde.h"

namespace {

std::vector<uint8_t> Ecrit(const TypeArchivageEtSauvegarde& Parametres) {
  TMemoryStream flux;
  SupArchivageEtSauvegarde::Ecrire(flux, Parametres);
  return flux.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  TMemoryStream flux;
  flux.Assign(Data, Size);
  TypeArchivageEtSauvegarde lu;
  lu.NombreArchives = -7;
  try {
    SupArchivageEtSauvegarde::Lire(flux, lu);
  } catch (const EReadError&) {
    Fuzz::Verifier(lu.NombreArchives == -7 && lu.RepertoireSauvegarde.empty(), "a failed read changes nothing");
    return 0;
  }
  Fuzz::Verifier(lu.PeriodeSauvegarde != 0, "a period of 0 is read as 1");
  const std::vector<uint8_t> ecrit = Ecrit(lu);
  TMemoryStream relu;
  relu.Assign(ecrit.data(), ecrit.size());
  TypeArchivageEtSauvegarde encore;
  SupArchivageEtSauvegarde::Lire(relu, encore);
  Fuzz::Verifier(Ecrit(encore) == ecrit, "written settings read back to the same bytes");
  return 0;
}
