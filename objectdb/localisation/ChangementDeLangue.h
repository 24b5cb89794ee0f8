// Language change: the language module (a resource module file beside the program, FormatModule.h)
// is chosen for a locale by "Config.lng", can first be refreshed from an update location over HTTP,
// is loaded, and becomes the resource module of every module of the process once every registered
// listener has accepted it. The translation dictionary is the listener of this system.
//
// "Config.lng" (program folder, lines ending with CR LF, "key=value"): the key is a locale's
// "language-COUNTRY" code (fr-FR), a language code alone (fr) or "Defaut"; the first line of the file
// whose key matches names the module file, relative to the program's folder. "CheminMiseAJour" (on
// any line but the first) is the address prefix from which an updated module is downloaded.
// The user's locale comes from LC_ALL, else LC_MESSAGES, else LANG ("fr_FR.UTF-8": fr, FR).
//
// Main thread only; the listener list and the configuration cache are not locked.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/diagnostics/Trace.h"
#include "core/objects/Interfaces.h"
#include "platform/ressources/ModuleRessources.h"

class IClientHttp;

struct INotifiableChangementDeLangue : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{6A839580-0498-4E00-B216-1882F1485993}");
  // The listener gets ready to use Module; False refuses the change.
  virtual bool PreparerChangement(TypeHandleModule Module) = 0;
  // The change is made: the listener switches to what it prepared.
  virtual void ValiderChangement(TypeHandleModule Module) = 0;

 protected:
  ~INotifiableChangementDeLangue() = default;
};

namespace ChangementDeLangue {
// The user agent of the update download.
inline constexpr const char* kAgent = "Module de traduction Norvane";
// The largest module an update may bring.
inline constexpr std::size_t kTailleMaximaleModule = 64u * 1024 * 1024;
// Forgets the configuration and frees the listener list (unit finalisation).
void Finaliser();
}  // namespace ChangementDeLangue

// One language module file on its way to being installed. Destroying it unloads a module that it
// still owns.
class TModuleDeRessources : public TObject {
  NV_DECLARE_CLASS(TModuleDeRessources)
 public:
  TModuleDeRessources(const std::string& Fichier, TCustomTraceur* Traceur);
  explicit TModuleDeRessources(TBlank b) : TObject(b) {}
  ~TModuleDeRessources() override;

  std::string Fichier;
  TCustomTraceur* Traceur = nullptr;  // not owned
  TypeHandleModule Module = ModuleRessources::kAucunModule;

  // Downloads CheminMiseAJour + the file's name and replaces the file with it. A failed download, an
  // answer that is too large, an HTML page or anything that is not a module leaves the file as it
  // was: the new content is written beside it and renamed over it only when whole.
  bool MettreAJour(const std::string& CheminMiseAJour);
  // Loads the file when no module is held; the held module (none when the file is missing or not a
  // module). Ceder: the caller takes it over.
  TypeHandleModule Charger(bool Ceder);
  // Makes the module the resource module of every module of the process, unloading the previous
  // ones: the first takes the loaded module, each further one a load of its own.
  void Installer();

 private:
  void TracerLigne(const std::string& Texte);
};

// The listeners, in the order of registration, each at most once (by identity).
class TListeNotifiables : public TObject {
  NV_DECLARE_CLASS(TListeNotifiables)
 public:
  TListeNotifiables() = default;
  explicit TListeNotifiables(TBlank b) : TObject(b) {}

  bool EstVide() const { return Notifiables.empty(); }
  bool Ajouter(INotifiableChangementDeLangue* Notifiable);
  bool Retirer(INotifiableChangementDeLangue* Notifiable);
  // Loads Fichier (refreshed first when CheminMiseAJour is given), asks every listener in turn and,
  // when none refused, installs the module and tells them; True when the module was loaded and
  // installed.
  bool ChangerModule(const std::string& Fichier, const std::string& CheminMiseAJour, TCustomTraceur* Traceur);

  std::vector<INotifiableChangementDeLangue*> Notifiables;
};

// The public entry of the language change.
class TChangementDeLangue {
 public:
  TChangementDeLangue() = delete;
  static bool AjouterNotifiable(INotifiableChangementDeLangue* Notifiable);
  static bool RetirerNotifiable(INotifiableChangementDeLangue* Notifiable);
  // Chooses the module of Locale (empty: the user's locale) and changes to it; True when a module
  // was chosen, loaded, and no listener refused it.
  static bool ChangerLangue(const std::string& Locale = std::string(), TCustomTraceur* Traceur = nullptr);
};

class TImplChangementDeLangue {
 public:
  TImplChangementDeLangue() = delete;
  // The process-wide list, made on first use; freed by LibererListeSiVide when empty.
  static TListeNotifiables* ListeNotifiables();
  static void LibererListeSiVide();
  // The program's folder, ending with "/".
  static std::string CheminApplication();
  // The content of "Config.lng", read once (an absent file reads as empty).
  static std::string LireConfig();
  // Kind 89: the locale's ISO 639 language name; 90: its ISO 3166 country name.
  static std::string InfoLocale(const std::string& Locale, int32_t Genre);
  // The module file of Locale, empty when the configuration names none.
  static std::string NomModule(const std::string& Locale);
  static std::string LireCheminMiseAJour();
  static bool ChangerModule(const std::string& Fichier, TCustomTraceur* Traceur);
  static bool AjouterNotifiable(INotifiableChangementDeLangue* Notifiable);
  static bool RetirerNotifiable(INotifiableChangementDeLangue* Notifiable);
  static bool ChangerLangue(const std::string& Locale, TCustomTraceur* Traceur);

  // Another program folder (tests, tools); forgets the configuration read so far. Empty: the
  // folder of the program file again.
  static void DefinirCheminApplication(const std::string& Chemin);
  // The HTTP client of the updates (not owned); nil: the Beast client.
  static void DefinirClientHttp(IClientHttp* Client);
  static IClientHttp* ClientHttp();
};
