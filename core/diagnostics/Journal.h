// The crash log: dated renderings of the call stack appended to a file beside the program, named
// after it with the extension ".LOG", and the exception handler that writes one. The file is written
// through the fixed-record file helpers of the networking library; that library sits above this one,
// so the helpers reach the log through IFichierJournal, which they install at their start-up.
#pragma once

#include <cstdint>
#include <string>

#include "core/diagnostics/Debug.h"

class TObject;

// The fixed-record file helpers as the crash log uses them: one file at a time.
class IFichierJournal {
 public:
  virtual ~IFichierJournal() = default;
  // Open the named file, or create it (an existing file is emptied) and open it, with an open mode
  // and a record size. The answer is the helpers' status: 0 success, 1 failure.
  [[nodiscard]] virtual int32_t Ouvrir(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement) = 0;
  [[nodiscard]] virtual int32_t Creer(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement) = 0;
  // Moves to Indice records from Origine: 0 the start, 1 the current position, 2 the end.
  virtual void Positionner(int32_t Origine, int32_t Indice) = 0;
  // Writes one record at the current position.
  virtual void Ecrire(const void* Enregistrement) = 0;
  virtual void Fermer() = 0;
};

namespace Journal {

// The file the log writes through; nil (the default) logs nothing.
void SetFichier(IFichierJournal* Fichier);

// The program's path with its extension changed to ".LOG"; empty when the program's path is unknown.
std::string NomJournal();
// Opens the log (read-write, exclusive, records of one byte), creating it when absent, at its end.
// False when there is no log or it cannot be had; nothing is reported.
bool OuvrirJournal();
// Appends the text to the log, when it is not empty and the log opens.
void EcrireJournal(const std::string& Texte);
void FermerJournal();

// One entry: an empty line, "Pile d'appels (date and time) message :", its underline of dashes, then
// the stack's text.
std::string TexteEntree(const std::string& Message, const TPileDAppel& Pile);
// Captures the caller's stack and appends it to the log under the message.
void JournaliserPileDAppels(const std::string& Message);
// The exception handler: logs the stack under the exception's message.
void JournaliserException(TObject* Sender, const Exception& E);

// Start-up: offers JournaliserException to the exception hook.
void Initialiser();

}  // namespace Journal
