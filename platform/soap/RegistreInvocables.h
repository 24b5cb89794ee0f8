// The registry of invokable interfaces: one entry per SOAP port, with its namespace, its use
// (encoded or literal), its operations (names, parameter names and types, result type) and the
// factory of its implementation class. One operation table per port is the single source of the
// dispatch, the WSDL and the list of calls.
//
// The implementation object is created for each call and freed after it. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/soap/TypesSoap.h"

// Invoke options of an interface: RPC style (32) with encoded use, or with literal use (34).
inline constexpr uint16_t kOptionsSoapEncode = 32;
inline constexpr uint16_t kOptionLitteral = 2;
inline constexpr uint16_t kOptionsSoapLitteral = kOptionsSoapEncode | kOptionLitteral;

// The base of every implementation class of a port.
class TInvokableClass {
 public:
  virtual ~TInvokableClass() = default;
};

struct ParametreSoap {
  std::string Nom;   // the part name on the wire ("AMatiere")
  RefTypeSoap Type;
};

struct OperationSoap {
  std::string Nom;
  std::vector<ParametreSoap> Parametres;
  RefTypeSoap Resultat;  // null for a procedure
  // Calls the operation on a fresh implementation object with decoded arguments (one per parameter,
  // in order); answers the result (ignored for a procedure).
  std::function<ValeurSoap(TInvokableClass&, std::span<const ValeurSoap>)> Appel;
};

struct InterfaceInvocable {
  std::string Nom;        // "ITzSvcWAdmin"
  std::string Guid;
  std::string Namespace;  // "urn:TzSvcWAdmin-PortAdmin"
  std::string Encodage;   // the encoding of the WSDL ("iso-8859-1")
  uint16_t Options = kOptionsSoapEncode;
  std::vector<OperationSoap> Operations;
  std::string NomClasse;  // the default implementation class, "TSvcWAdmin"; empty when none
  std::function<std::unique_ptr<TInvokableClass>()> Fabrique;

  bool Litteral() const { return (Options & kOptionLitteral) != 0; }
  const OperationSoap* Operation(std::string_view nom) const;
};

class TRegistreInvocables {
 public:
  // Registers an interface (its operations and implementation class included); raises ESoapError
  // when its name or namespace is registered already.
  void Enregistrer(InterfaceInvocable interface);
  // Removes the default implementation class of an interface, then the interface itself.
  void DesenregistrerClasse(std::string_view interface);
  void Desenregistrer(std::string_view interface);

  const InterfaceInvocable* ParNamespace(std::string_view ns) const;
  const InterfaceInvocable* ParNom(std::string_view nom) const;
  const std::vector<InterfaceInvocable>& Interfaces() const { return interfaces_; }

 private:
  std::vector<InterfaceInvocable> interfaces_;
};

// The runtime's one registry of invokable interfaces.
TRegistreInvocables& RegistreInvocables();

// ---- Typed operations: a member function of the implementation class becomes an operation ----

namespace soap_detail {

template <class T>
struct Conversion;

template <>
struct Conversion<std::string> {
  static bool Accepte(NatureSoap n) { return n == NatureSoap::Chaine; }
  static std::string Lire(const ValeurSoap& v) { return v.Texte; }
  static ValeurSoap Ecrire(std::string s) { ValeurSoap v; v.Texte = std::move(s); return v; }
};
template <>
struct Conversion<bool> {
  static bool Accepte(NatureSoap n) { return n == NatureSoap::Booleen; }
  static bool Lire(const ValeurSoap& v) { return v.Entier != 0; }
  static ValeurSoap Ecrire(bool b) { ValeurSoap v; v.Entier = b ? 1 : 0; return v; }
};
template <>
struct Conversion<double> {
  static bool Accepte(NatureSoap n) {
    return n == NatureSoap::Reel || n == NatureSoap::Date || n == NatureSoap::DateHeure;
  }
  static double Lire(const ValeurSoap& v) { return v.Reel; }
  static ValeurSoap Ecrire(double d) { ValeurSoap v; v.Reel = d; return v; }
};
template <class I>
  requires std::is_integral_v<I> && (!std::is_same_v<I, bool>)
struct Conversion<I> {
  static bool Accepte(NatureSoap n) {
    if constexpr (std::is_same_v<I, int32_t>) return n == NatureSoap::Entier || n == NatureSoap::Enumeration;
    if constexpr (std::is_same_v<I, uint32_t>) return n == NatureSoap::Cardinal;
    if constexpr (std::is_same_v<I, uint16_t>) return n == NatureSoap::Mot;
    return false;
  }
  static I Lire(const ValeurSoap& v) { return static_cast<I>(v.Entier); }
  static ValeurSoap Ecrire(I i) { ValeurSoap v; v.Entier = i; return v; }
};
template <class T>
struct Conversion<std::vector<T>> {
  static bool Accepte(NatureSoap n) { return n == NatureSoap::Tableau; }
  static std::vector<T> Lire(const ValeurSoap& v) {
    std::vector<T> r;
    r.reserve(v.Elements.size());
    for (const auto& e : v.Elements) r.push_back(Conversion<T>::Lire(e));
    return r;
  }
  static ValeurSoap Ecrire(const std::vector<T>& t) {
    ValeurSoap v;
    v.Elements.reserve(t.size());
    for (const auto& e : t) v.Elements.push_back(Conversion<T>::Ecrire(e));
    return v;
  }
};

// Whether a C++ type fits a remotable type, arrays checked down to their items.
template <class T>
bool Convient(const TypeSoap& type) {
  if (!Conversion<T>::Accepte(type.Nature)) return false;
  if constexpr (requires { typename T::value_type; } && !std::is_same_v<T, std::string>)
    return type.Element && Convient<typename T::value_type>(*type.Element);
  return true;
}

void VerifierSignature(const std::string& operation, size_t attendus, size_t donnes);
void RefuserType(const std::string& operation, const std::string& quoi);

}  // namespace soap_detail

// Builds the operation `nom` of implementation class C from a member function. The parameters are
// given with their wire names and registered types, in the function's order; `resultat` is null for
// a function returning void. Raises ESoapError when a C++ type does not fit its registered type.
template <class C, class R, class... A>
OperationSoap OperationDe(std::string nom, R (C::*methode)(A...), std::vector<ParametreSoap> parametres,
                          RefTypeSoap resultat) {
  soap_detail::VerifierSignature(nom, sizeof...(A), parametres.size());
  size_t i = 0;
  bool ok = true;
  ((ok = ok && parametres[i].Type && soap_detail::Convient<std::decay_t<A>>(*parametres[i].Type), ++i), ...);
  if (!ok) soap_detail::RefuserType(nom, "a parameter");
  if constexpr (std::is_void_v<R>) {
    if (resultat) soap_detail::RefuserType(nom, "the result");
  } else {
    if (!resultat || !soap_detail::Convient<std::decay_t<R>>(*resultat)) soap_detail::RefuserType(nom, "the result");
  }
  OperationSoap op{std::move(nom), std::move(parametres), std::move(resultat), {}};
  op.Appel = [methode](TInvokableClass& objet, std::span<const ValeurSoap> args) -> ValeurSoap {
    C& cible = static_cast<C&>(objet);
    auto appeler = [&]<size_t... I>(std::index_sequence<I...>) -> ValeurSoap {
      if constexpr (std::is_void_v<R>) {
        (cible.*methode)(soap_detail::Conversion<std::decay_t<A>>::Lire(args[I])...);
        return {};
      } else {
        return soap_detail::Conversion<std::decay_t<R>>::Ecrire(
            (cible.*methode)(soap_detail::Conversion<std::decay_t<A>>::Lire(args[I])...));
      }
    };
    return appeler(std::index_sequence_for<A...>{});
  };
  return op;
}
