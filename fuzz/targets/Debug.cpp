// The debug-information parser: a program image's trailer, directory, names, symbols and line tables,
// then the texts made from what was read (a routine's frame variables over a frame of bytes, the
// line of code offsets). Input: the frame's size, then the image.
#include <algorithm>

#include "core/diagnostics/Debug.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t tailleCadre = octets.Octet();
  const std::string_view image = octets.Reste();

  TMemoryStream flux;
  flux.Assign(image.data(), image.size());
  TInfosDebug infos;
  std::string raison;
  const TLectureInfosDebug lecture = Debug::LireInfosDebug(flux, infos, &raison);
  Fuzz::Verifier(lecture == TLectureInfosDebug::Lues || (infos.Routines.empty() && infos.Unites.empty()),
                 "an image without sound debug information gives nothing");
  Fuzz::Verifier((lecture == TLectureInfosDebug::Corrompues) == !raison.empty(), "a corrupt image says why");

  const std::string_view debutImage = image.substr(0, std::min<std::size_t>(tailleCadre, image.size()));
  const TAppel appel(0, 0, std::vector<uint8_t>(debutImage.begin(), debutImage.end()));
  for (const TInfosDebugRoutine& routine : infos.Routines) routine.TexteParametres(appel);
  for (const TInfosDebugUnite& unite : infos.Unites)
    for (const TAddresseEnLigne& ligne : unite.Lignes()) {
      unite.TexteLigne(ligne.Adresse);
      unite.TexteLigne(ligne.Adresse + uint64_t{1});
    }
  return 0;
}
