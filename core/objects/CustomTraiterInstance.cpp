#include "core/objects/CustomTraiterInstance.h"

NV_DEFINE_CLASS(TCustomTraiterInstance, TObjetTemporaire)
NV_DEFINE_CLASS(TTracerInstance, TCustomTraiterInstance)
NV_DEFINE_CLASS(TCompterInstances, TCustomTraiterInstance)
NV_DEFINE_CLASS(TSupprimerInstances, TCustomTraiterInstance)

bool TCustomTraiterInstance::Traiter(TObject*) { return false; }

bool TTracerInstance::Traiter(TObject* Instance) {
  ITracable* tracable = InterfaceOf<ITracable>(Instance);
  if (tracable == nullptr) return false;
  std::string part;
  if (Resume) {
    if (!Texte.empty()) Texte += "\r\n";
    tracable->TracerResume(part);
  } else {
    tracable->TracerComplet(Detail, Traceur, part);
  }
  Texte += part;
  return false;
}

bool TCompterInstances::Traiter(TObject*) {
  ++Nombre;
  return false;
}

bool TSupprimerInstances::Traiter(TObject* Instance) {
  delete Instance;
  return false;
}
