// The coded forms of the user base's credentials: login names travel as TLogin codings (a longer
// body, coded with the program's own default key), passwords as TMotDePasse codings and stay coded
// in the user table until a login check decodes them.
#pragma once

#include <string>
#include <string_view>

#include "core/values/Codage.h"

class TLogin : public TCustomCodage {
 public:
  struct Class : TCustomCodage::Class {
    using TCustomCodage::Class::Class;
    int32_t TailleCode() const override { return 32; }
    std::string CleParDefaut() const override { return "7392"; }
  };
  static const TCustomCodage::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  explicit TLogin(const std::string& Clair) : TCustomCodage(StaticClass(), Clair) {}
  explicit TLogin(TBlank b) : TCustomCodage(b) {}
};

class TMotDePasse : public TCustomCodage {
 public:
  static const TCustomCodage::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  explicit TMotDePasse(const std::string& Clair) : TCustomCodage(StaticClass(), Clair) {}
  explicit TMotDePasse(TBlank b) : TCustomCodage(b) {}
};

namespace Login {
// Stands for an empty password in a password coding and in the client's identity fields.
std::string_view SansMotDePasse();
// Registers both classes by name.
void Initialiser();
}  // namespace Login
