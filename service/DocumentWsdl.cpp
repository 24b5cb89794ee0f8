#include "service/DocumentWsdl.h"

#include <algorithm>

#include "platform/soap/TypesSoap.h"

namespace DocumentWsdl {
namespace {

constexpr std::string_view kFin = "\r\n";
constexpr std::string_view kStyleEncodage = "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"";

void RemplacerTout(std::string& s, std::string_view de, std::string_view par) {
  for (size_t p = s.find(de); p != std::string::npos; p = s.find(de, p + par.size())) s.replace(p, de.size(), par);
}

// A type declared in the schema as a simple type: a restriction of unsignedInt (the keys) or an
// enumeration of NMTOKEN. The other restrictions (durations, weeks) are written as their base type.
bool EstTypeSimpleDeclare(const TypeSoap& t) {
  return !t.EstXsd() && t.Nature != NatureSoap::Tableau && (t.BaseXsd == "unsignedInt" || t.BaseXsd == "NMTOKEN");
}

std::string NomWsdl(const TypeSoap& t) {
  if (t.EstXsd()) return "xsd:" + t.Nom;
  if (t.Nature != NatureSoap::Tableau && !EstTypeSimpleDeclare(t)) return "xsd:" + t.BaseXsd;
  return "tz:" + t.Nom;
}

// The port's word and its service's name, read from its namespace "urn:<service>-Port<word>".
struct NomsPort {
  std::string Service, Port, Mot;
};
NomsPort Noms(const InterfaceInvocable& i) {
  std::string_view ns = i.Namespace;
  if (ns.starts_with("urn:")) ns.remove_prefix(4);
  size_t tiret = ns.find("-Port");
  if (tiret == std::string_view::npos) throw ESoapError("Port namespace not of the form urn:Service-PortWord: " + i.Namespace);
  return {std::string(ns.substr(0, tiret)), std::string(ns.substr(tiret + 1)), std::string(ns.substr(tiret + 5))};
}

void Ligne(std::string& s, int retrait, std::string_view texte) {
  s.append(static_cast<size_t>(retrait), ' ');
  s += texte;
  s += kFin;
}

void EcrireTypes(std::string& s, const TRegistreTypesRemotables& types, std::string_view ns) {
  std::vector<RefTypeSoap> simples;
  for (const auto& t : types.Types())
    if (EstTypeSimpleDeclare(*t) && t->BaseXsd == "unsignedInt") simples.push_back(t);
  for (const auto& t : types.Types())
    if (EstTypeSimpleDeclare(*t) && t->BaseXsd == "NMTOKEN") simples.push_back(t);
  std::vector<RefTypeSoap> tableaux;
  for (const auto& simple : simples)
    for (const auto& t : types.Types())
      if (t->Nature == NatureSoap::Tableau && t->Element == simple) tableaux.push_back(t);
  for (std::string_view nom : {"ArrayOfTTzSvcWDuree", "ArrayOfTTzSvcWSemaine", "ArrayOfstring", "ArrayOfboolean",
                               "ArrayOfunsignedInt", "ArrayOfdate", "ArrayOfdateTime"})
    if (RefTypeSoap t = types.Chercher(nom); t && t->Nature == NatureSoap::Tableau) tableaux.push_back(t);
  for (const auto& t : types.Types())
    if (t->Nature == NatureSoap::Tableau && std::find(tableaux.begin(), tableaux.end(), t) == tableaux.end())
      tableaux.push_back(t);

  Ligne(s, 2, "<wsdl:types>");
  Ligne(s, 4, "<xsd:schema targetNamespace=\"" + std::string(ns) + "\">");
  Ligne(s, 6, "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>");
  for (const auto& t : simples) {
    Ligne(s, 6, "<xsd:simpleType name=\"" + t->Nom + "\">");
    if (t->Valeurs.empty()) {
      Ligne(s, 8, "<xsd:restriction base=\"xsd:" + t->BaseXsd + "\"/>");
    } else {
      Ligne(s, 8, "<xsd:restriction base=\"xsd:" + t->BaseXsd + "\">");
      for (const auto& v : t->Valeurs) Ligne(s, 10, "<xsd:enumeration value=\"" + v + "\"/>");
      Ligne(s, 8, "</xsd:restriction>");
    }
    Ligne(s, 6, "</xsd:simpleType>");
  }
  for (const auto& t : tableaux) {
    Ligne(s, 6, "<xsd:complexType name=\"" + t->Nom + "\">");
    Ligne(s, 8, "<xsd:complexContent>");
    Ligne(s, 10, "<xsd:restriction base=\"soapenc:Array\">");
    Ligne(s, 12, "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"" + NomWsdl(*t->Element) + "[]\"/>");
    Ligne(s, 10, "</xsd:restriction>");
    Ligne(s, 8, "</xsd:complexContent>");
    Ligne(s, 6, "</xsd:complexType>");
  }
  Ligne(s, 4, "</xsd:schema>");
  Ligne(s, 2, "</wsdl:types>");
}

void EcrireMessages(std::string& s, const InterfaceInvocable& i) {
  for (const auto& op : i.Operations) {
    if (op.Parametres.empty()) {
      Ligne(s, 2, "<wsdl:message name=\"Requete" + op.Nom + "\"/>");
    } else {
      Ligne(s, 2, "<wsdl:message name=\"Requete" + op.Nom + "\">");
      for (const auto& p : op.Parametres)
        Ligne(s, 4, "<wsdl:part name=\"" + p.Nom + "\" type=\"" + NomWsdl(*p.Type) + "\"/>");
      Ligne(s, 2, "</wsdl:message>");
    }
    if (!op.Resultat) {
      Ligne(s, 2, "<wsdl:message name=\"Reponse" + op.Nom + "\"/>");
    } else {
      Ligne(s, 2, "<wsdl:message name=\"Reponse" + op.Nom + "\">");
      Ligne(s, 4, "<wsdl:part name=\"return\" type=\"" + NomWsdl(*op.Resultat) + "\"/>");
      Ligne(s, 2, "</wsdl:message>");
    }
  }
}

void EcrirePortType(std::string& s, const InterfaceInvocable& i) {
  Ligne(s, 2, "<wsdl:portType name=\"" + i.Nom + "\">");
  for (const auto& op : i.Operations) {
    Ligne(s, 4, "<wsdl:operation name=\"" + op.Nom + "\">");
    Ligne(s, 6, "<wsdl:input message=\"tz:Requete" + op.Nom + "\"/>");
    Ligne(s, 6, "<wsdl:output message=\"tz:Reponse" + op.Nom + "\"/>");
    Ligne(s, 4, "</wsdl:operation>");
  }
  Ligne(s, 2, "</wsdl:portType>");
}

void EcrireBinding(std::string& s, const InterfaceInvocable& i) {
  NomsPort n = Noms(i);
  Ligne(s, 2, "<wsdl:binding name=\"Binding" + n.Mot + "\" type=\"tz:" + i.Nom + "\">");
  Ligne(s, 4, "<soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>");
  for (const auto& op : i.Operations) {
    Ligne(s, 4, "<wsdl:operation name=\"" + op.Nom + "\">");
    Ligne(s, 6, "<soap:operation soapAction=\"" + i.Namespace + "#" + op.Nom + "\" style=\"rpc\"/>");
    for (std::string_view sens : {"input", "output"}) {
      Ligne(s, 6, "<wsdl:" + std::string(sens) + ">");
      // The encoding style ends its line, and the next attribute stands 19 blanks in, under it.
      Ligne(s, 8, "<soap:body use=\"encoded\" " + std::string(kStyleEncodage));
      Ligne(s, 19, "namespace=\"" + i.Namespace + "\"/>");
      Ligne(s, 6, "</wsdl:" + std::string(sens) + ">");
    }
    Ligne(s, 4, "</wsdl:operation>");
  }
  Ligne(s, 2, "</wsdl:binding>");
}

void EcrireServices(std::string& s, const TRegistreInvocables& registre) {
  std::vector<std::string> services;
  for (const auto& i : registre.Interfaces())
    if (std::find(services.begin(), services.end(), Noms(i).Service) == services.end())
      services.push_back(Noms(i).Service);
  for (const auto& service : services) {
    Ligne(s, 2, "<wsdl:service name=\"" + service + "\">");
    for (const auto& i : registre.Interfaces()) {
      NomsPort n = Noms(i);
      if (n.Service != service) continue;
      Ligne(s, 4, "<wsdl:port name=\"" + n.Port + "\" binding=\"tz:Binding" + n.Mot + "\">");
      Ligne(s, 6, "<soap:address location=\"http://{RequestHost}/" + n.Mot + "\"/>");
      Ligne(s, 4, "</wsdl:port>");
    }
    Ligne(s, 2, "</wsdl:service>");
  }
}

}  // namespace

std::string GenererWsdlEncode(const TRegistreInvocables& registre, const TRegistreTypesRemotables& types,
                              std::string_view namespaceTypes) {
  std::string ns(namespaceTypes);
  std::string s;
  Ligne(s, 0, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");
  Ligne(s, 0, "<!-- Timetable web service: description of the SOAP ports. {DateCopyright} -->");
  Ligne(s, 0, "<wsdl:definitions name=\"TzSvcWFR\" targetNamespace=\"" + ns + "\" xmlns:tz=\"" + ns + "\"");
  Ligne(s, 19, "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"");
  Ligne(s, 19, "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\"");
  Ligne(s, 19, "xmlns:http=\"http://schemas.xmlsoap.org/wsdl/http/\"");
  Ligne(s, 19, "xmlns:mime=\"http://schemas.xmlsoap.org/wsdl/mime/\"");
  Ligne(s, 19, "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\"");
  Ligne(s, 19, "xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"");
  Ligne(s, 19, "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"");
  Ligne(s, 19, "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">");
  EcrireTypes(s, types, ns);
  for (const auto& i : registre.Interfaces()) EcrireMessages(s, i);
  for (const auto& i : registre.Interfaces()) EcrirePortType(s, i);
  for (const auto& i : registre.Interfaces()) EcrireBinding(s, i);
  EcrireServices(s, registre);
  Ligne(s, 0, "</wsdl:definitions>");
  return s;
}

std::string DeriverWsdlLitteral(std::string_view encode) {
  std::string s(encode);
  RemplacerTout(s, std::string(kStyleEncodage) + "\r\n" + std::string(19, ' '), "");
  RemplacerTout(s, "use=\"encoded\"", "use=\"literal\"");
  return s;
}

std::string PreparerDocument(std::string_view document) {
  std::string s(document);
  if (size_t p = s.find("{DateCopyright}"); p != std::string::npos) s.erase(p, 15);
  return s;
}

std::string RemplacerRequestHost(std::string_view wsdl, std::string_view hote) {
  std::string s(wsdl);
  RemplacerTout(s, "{RequestHost}", hote);
  return s;
}

}  // namespace DocumentWsdl
