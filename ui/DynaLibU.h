// The unzip component: binds the closed unzip library "DUNZIP32.DLL" through the platform's
// library loader when it is created, and releases it when it goes. A library without its entry
// "dunzip" stops the program (status 1, after a warning); a missing library is silent. Nothing in
// the system calls the entry. Main thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "net/services/DynaZip.h"
#include "platform/gui/Controles.h"

enum class TUnzipFlag : uint8_t {
  FreshenFlag, UpdateFlag, OverWriteFlag, QuietFlag, TestFlag, NoDirectoryNamesFlag, RecurseFlag,
  NoDirectoryItemsFlag, bDiagnostic, bLF2CRLFFlag, DecryptFlag
};
enum class TUnzipSubOption : uint8_t {
  USO_OVERWRITE_RO, USO_MINORCANCEL, USO_EXTERNALPROG, USO_EXTPROGCANCEL, USO_IGNORELONGNAMES, USO_MANGLELONGNAMES
};
// Sets of flags and sub-options: one bit per value.
using TUnzipFlags = uint16_t;
using TUnzipSubOptions = uint8_t;
constexpr TUnzipFlags operator+(TUnzipFlag f) { return static_cast<TUnzipFlags>(1u << static_cast<unsigned>(f)); }
constexpr TUnzipSubOptions operator+(TUnzipSubOption o) {
  return static_cast<TUnzipSubOptions>(1u << static_cast<unsigned>(o));
}

class TUnzipFile : public TComponent, public TDynaZip {
 public:
  static constexpr int kTailleBlocCommande = 310;

  // Binds the library, then makes the component's own fields. EArretProgramme (status 1) when the
  // library lacks its entry.
  explicit TUnzipFile(TComponent* Owner);
  ~TUnzipFile() override;

  TLPStr lpszZipFile;
  TLPStr lpszFileSpec;
  int32_t IndexofItem = 0;
  TLPStr lpszDestination;
  TUnzipFlags Options = 0;
  TLPStr lpszDecryptCode;
  TUnzipSubOptions wUnzipSubOptions = 0;
  TLPStr lpszExtProgTitle;
  TLPStr lpszReturnString;

  // The library's command block.
  const uint8_t* BlocCommande() const { return bloc_.get(); }

 private:
  std::unique_ptr<uint8_t[]> bloc_;
  uintptr_t module_ = 0;
};

namespace DynaLibU {

inline constexpr const char* kBibliotheque = "DUNZIP32.DLL";
inline constexpr const char* kEntree = "dunzip";
inline constexpr int kNombreReglages = 7;

// Sets the unit's seven integer settings to 1.
void InitialiserReglages();
// Setting i (0 to 6).
int32_t Reglage(int Indice);
// The module of the library and the address of its entry, 0 and nil while none is bound.
uintptr_t Module();
void* EntreeDunzip();

void Initialiser();
void Finaliser();

}  // namespace DynaLibU
