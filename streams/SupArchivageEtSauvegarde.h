// The backup and archive settings of a base, carried in the base parameter block: whether and how
// often the base is backed up and archived, where to, and when next.
//
// Stored form, little-endian: u8 backup active, i32 backup period in hours, string backup
// directory, f64 next backup, u8 archive active, f64 archive time of day, i32 count of archives
// kept, string archive directory, f64 next archive. A string is an i32 length and its bytes
// (TBinaryFormatterWithSize); dates are date values.
#pragma once

#include <cstdint>
#include <string>

#include "core/serial/Streams.h"
#include "core/values/DateTime.h"

struct TypeArchivageEtSauvegarde {
  bool SauvegardeActive = true;
  int32_t PeriodeSauvegarde = 4;  // hours
  std::string RepertoireSauvegarde;
  TDateTime ProchaineSauvegarde = 0;
  bool ArchivageActif = true;
  TDateTime HeureArchivage = 0;  // time of day
  int32_t NombreArchives = 15;
  std::string RepertoireArchive;
  TDateTime ProchainArchivage = 0;
};

namespace SupArchivageEtSauvegarde {

// The defaults of the open base (NetBases::NomBase()), with the translated folder names.
void ParametresParDefaut(TypeArchivageEtSauvegarde& Parametres);
// The defaults for a base file, with the folder names given: both directories are the base's
// directory, the folder name and the base's name without extension; backups every 4 hours from
// now on, archives at 08:00 (today when that is still to come, else tomorrow), 15 kept.
void ParametresParDefaut(TypeArchivageEtSauvegarde& Parametres, const std::string& NomFichierBase,
                         const std::string& DossierSauvegarde, const std::string& DossierArchive);

// Reads the stored form. A period of 0 becomes 1; the directories are trimmed of blanks. A stream
// that ends early raises EReadError and leaves Parametres as it was.
void Lire(TStream& Flux, TypeArchivageEtSauvegarde& Parametres);
// Writes the stored form, the directories trimmed of blanks.
void Ecrire(TStream& Flux, const TypeArchivageEtSauvegarde& Parametres);

}  // namespace SupArchivageEtSauvegarde
