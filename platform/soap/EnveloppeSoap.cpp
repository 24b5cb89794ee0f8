#include "platform/soap/EnveloppeSoap.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/DateTime.h"

namespace EnveloppeSoap {
namespace {

[[noreturn]] void Refuser(const std::string& texte) { throw EFauteClientSoap(texte); }

std::string_view Trim(std::string_view s) {
  const char* blancs = " \t\r\n";
  size_t debut = s.find_first_not_of(blancs);
  if (debut == std::string_view::npos) return {};
  return s.substr(debut, s.find_last_not_of(blancs) - debut + 1);
}

std::string Minuscules(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

// How the bytes of a request are read: an encoding pugixml reads, or Windows-1252, which is first
// converted to UTF-8.
struct Encodage {
  pugi::xml_encoding xml = pugi::encoding_utf8;
  bool depuis1252 = false;
};

// The encoding of a name; refused when the reader does not know it.
Encodage EncodageNomme(std::string_view brut, bool avecMarque) {
  const std::string nom = Minuscules(brut);
  if (nom == "utf-8" || nom == "utf8" || nom == "us-ascii" || nom == "ascii") return {};
  if (nom == "iso-8859-1" || nom == "latin1" || nom == "iso_8859-1" || nom == "latin-1" || nom == "iso8859-1")
    return {pugi::encoding_latin1, false};
  if (nom == "windows-1252" || nom == "cp1252" || nom == "x-cp1252") return {pugi::encoding_utf8, true};
  if ((nom == "utf-16" || nom == "utf-16le" || nom == "utf-16be") && !avecMarque)
    Refuser("Unsupported encoding: " + nom + " without a byte-order mark");
  Refuser("Unsupported encoding: " + nom);
}

// The encoding of the request: its byte-order mark, else its XML declaration's encoding, else the
// HTTP charset, else UTF-8.
Encodage EncodageDe(std::string_view corps, std::string_view charsetHttp) {
  if (corps.starts_with("\xEF\xBB\xBF")) return {};
  if (corps.starts_with("\xFF\xFE")) return {pugi::encoding_utf16_le, false};
  if (corps.starts_with("\xFE\xFF")) return {pugi::encoding_utf16_be, false};
  if (corps.starts_with("<?xml")) {
    std::string_view decl = corps.substr(0, corps.find("?>"));
    size_t p = decl.find("encoding");
    if (p != std::string_view::npos) {
      p = decl.find_first_of("\"'", p);
      if (p == std::string_view::npos) Refuser("Malformed XML declaration");
      size_t fin = decl.find(decl[p], p + 1);
      if (fin == std::string_view::npos) Refuser("Malformed XML declaration");
      return EncodageNomme(decl.substr(p + 1, fin - p - 1), false);
    }
  }
  if (!charsetHttp.empty()) return EncodageNomme(charsetHttp, false);
  return {};
}

std::string_view NomLocal(std::string_view nom) {
  size_t p = nom.find(':');
  return p == std::string_view::npos ? nom : nom.substr(p + 1);
}

// The namespace URI that the prefix of `nom` stands for at `noeud` (the default namespace when
// `nom` has no prefix); empty when it is not declared.
std::string_view NamespaceDe(pugi::xml_node noeud, std::string_view nom) {
  size_t p = nom.find(':');
  std::string attribut = p == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(nom.substr(0, p));
  for (pugi::xml_node n = noeud; n; n = n.parent())
    if (pugi::xml_attribute a = n.attribute(attribut.c_str())) return a.value();
  return {};
}

bool Est(pugi::xml_node n, std::string_view local, std::string_view ns) {
  return n.type() == pugi::node_element && NomLocal(n.name()) == local && NamespaceDe(n, n.name()) == ns;
}

pugi::xml_attribute AttributLocal(pugi::xml_node n, std::string_view local) {
  for (pugi::xml_attribute a : n.attributes())
    if (NomLocal(a.name()) == local && !std::string_view(a.name()).starts_with("xmlns")) return a;
  return {};
}

std::string Vers1252(std::string_view utf8, const std::string& quoi) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  std::string r = ChaineUnicode::DepuisUTF8(utf8, ChaineUnicode::CP_WINDOWS_1252);
  if (r.empty()) Refuser("Malformed UTF-8 text in " + quoi);
  return r;
}

class Lecteur {
 public:
  // Budget: what the values built may add up to (the request's own size).
  Lecteur(pugi::xml_node corps, size_t budget) : corps_(corps), budget_(budget) {}

  ValeurSoap Lire(pugi::xml_node n, const TypeSoap& type, const std::string& quoi, int profondeur) {
    if (profondeur > kProfondeurMaximale) Refuser("Values nested too deeply in " + quoi);
    Depenser(1, quoi);
    n = Resoudre(n, quoi);
    ValeurSoap v;
    if (pugi::xml_attribute nil = AttributLocal(n, "nil"); nil && (nil.as_string() == std::string_view("true") ||
                                                                   nil.as_string() == std::string_view("1"))) {
      if (type.Nature == NatureSoap::Chaine || type.Nature == NatureSoap::Tableau) return v;
      Refuser("A nil value is not a " + type.Nom + " in " + quoi);
    }
    if (type.Nature == NatureSoap::Tableau) {
      for (pugi::xml_node e : n.children())
        if (e.type() == pugi::node_element) v.Elements.push_back(Lire(e, *type.Element, quoi, profondeur + 1));
        else if (e.type() == pugi::node_pcdata && !Trim(e.value()).empty())
          Refuser("Text where an array of " + type.Element->Nom + " was expected in " + quoi);
      return v;
    }
    std::string texte;
    for (pugi::xml_node e : n.children()) {
      if (e.type() == pugi::node_element) Refuser("An element where a " + type.Nom + " was expected in " + quoi);
      if (e.type() == pugi::node_pcdata || e.type() == pugi::node_cdata) {
        const std::string_view morceau = e.value();
        Depenser(morceau.size(), quoi);
        texte += morceau;
      }
    }
    LireScalaire(texte, type, quoi, v);
    return v;
  }

 private:
  void Depenser(size_t cout, const std::string& quoi) {
    if (cout > budget_) Refuser("The references of the request expand beyond its size in " + quoi);
    budget_ -= cout;
  }

  // Follows href="#id" to the element carrying that id.
  pugi::xml_node Resoudre(pugi::xml_node n, const std::string& quoi) {
    for (int sauts = 0; sauts <= kProfondeurMaximale; ++sauts) {
      pugi::xml_attribute href = AttributLocal(n, "href");
      if (!href) return n;
      std::string_view cible = href.value();
      if (!cible.starts_with("#")) Refuser("Unsupported reference " + std::string(cible) + " in " + quoi);
      IndexerIds();
      auto it = ids_.find(std::string(cible.substr(1)));
      if (it == ids_.end()) Refuser("Unknown reference " + std::string(cible) + " in " + quoi);
      n = it->second;
    }
    Refuser("References loop in " + quoi);
  }

  void IndexerIds() {
    if (indexe_) return;
    indexe_ = true;
    // Walked without recursion: the depth of the document is the caller's.
    for (pugi::xml_node n = corps_.first_child(); n;) {
      if (n.type() == pugi::node_element)
        if (pugi::xml_attribute id = n.attribute("id")) ids_.emplace(id.value(), n);
      if (n.first_child()) {
        n = n.first_child();
        continue;
      }
      while (n && !n.next_sibling() && n != corps_) n = n.parent();
      if (!n || n == corps_) break;
      n = n.next_sibling();
    }
  }

  template <class T>
  static bool Entier(std::string_view s, T& r) {
    if (s.starts_with("+")) s.remove_prefix(1);
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), r);
    return ec == std::errc() && p == s.data() + s.size() && !s.empty();
  }

  static bool Chiffres(std::string_view s, size_t n, unsigned& r) {
    if (s.size() < n) return false;
    r = 0;
    for (size_t i = 0; i < n; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      r = r * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return true;
  }

  // "YYYY-MM-DD", then for a date-time "Thh:mm:ss" and an optional fraction; a time-zone suffix
  // ("Z", "+hh:mm") is read and the wall time kept as written.
  static bool DateHeure(std::string_view s, bool avecHeure, double& r) {
    unsigned an, mois, jour, h = 0, mn = 0, sec = 0, ms = 0;
    if (!Chiffres(s, 4, an) || s.size() < 10 || s[4] != '-' || !Chiffres(s.substr(5), 2, mois) || s[7] != '-' ||
        !Chiffres(s.substr(8), 2, jour))
      return false;
    if (mois < 1 || mois > 12 || jour < 1 || jour > DateTime::DaysInMonth(static_cast<int>(an), mois)) return false;
    s.remove_prefix(10);
    if (avecHeure) {
      if (s.size() < 9 || s[0] != 'T' || !Chiffres(s.substr(1), 2, h) || s[3] != ':' ||
          !Chiffres(s.substr(4), 2, mn) || s[6] != ':' || !Chiffres(s.substr(7), 2, sec) || h > 23 || mn > 59 ||
          sec > 59)
        return false;
      s.remove_prefix(9);
      if (s.starts_with(".")) {
        size_t n = 1;
        unsigned poids = 100;
        while (n < s.size() && s[n] >= '0' && s[n] <= '9') {
          ms += static_cast<unsigned>(s[n] - '0') * poids;
          poids /= 10;
          ++n;
        }
        if (n == 1) return false;
        s.remove_prefix(n);
      }
    }
    unsigned zh, zm;
    if (!(s.empty() || s == "Z" ||
          (s.size() == 6 && (s[0] == '+' || s[0] == '-') && Chiffres(s.substr(1), 2, zh) && s[3] == ':' &&
           Chiffres(s.substr(4), 2, zm))))
      return false;
    r = DateTime::EncodeDate(static_cast<int>(an), mois, jour);
    if (avecHeure) r += DateTime::EncodeTime(h, mn, sec, ms);
    return true;
  }

  static bool Reel(std::string_view s, double& r) {
    if (s == "INF" || s == "+INF") return r = HUGE_VAL, true;
    if (s == "-INF") return r = -HUGE_VAL, true;
    if (s == "NaN") return r = std::nan(""), true;
    if (s.starts_with("+")) s.remove_prefix(1);
    if (s.empty() || !(s[0] == '-' || s[0] == '.' || (s[0] >= '0' && s[0] <= '9'))) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), r);
    return ec == std::errc() && p == s.data() + s.size();
  }

  static void LireScalaire(const std::string& brut, const TypeSoap& type, const std::string& quoi, ValeurSoap& v) {
    std::string_view s = Trim(brut);
    bool ok = true;
    switch (type.Nature) {
      case NatureSoap::Chaine:
        v.Texte = Vers1252(brut, quoi);
        return;
      case NatureSoap::Booleen:
        ok = s == "true" || s == "false" || s == "1" || s == "0";
        v.Entier = s == "true" || s == "1";
        break;
      case NatureSoap::Entier: {
        int32_t i;
        ok = Entier(s, i);
        v.Entier = ok ? i : 0;
        break;
      }
      case NatureSoap::Cardinal: {
        uint32_t u;
        ok = !s.starts_with("-") && Entier(s, u);
        v.Entier = ok ? u : 0;
        break;
      }
      case NatureSoap::Mot: {
        uint16_t u;
        ok = !s.starts_with("-") && Entier(s, u);
        v.Entier = ok ? u : 0;
        break;
      }
      case NatureSoap::Reel:
        ok = Reel(s, v.Reel);
        break;
      case NatureSoap::Date:
      case NatureSoap::DateHeure:
        ok = DateHeure(s, type.Nature == NatureSoap::DateHeure, v.Reel);
        break;
      case NatureSoap::Enumeration: {
        ok = false;
        for (size_t i = 0; i < type.Valeurs.size() && !ok; ++i)
          if (type.Valeurs[i] == s) ok = true, v.Entier = static_cast<int64_t>(i);
        break;
      }
      case NatureSoap::Tableau:
        ok = false;
        break;
    }
    if (!ok) Refuser("\"" + Vers1252(std::string(s.substr(0, 64)), quoi) + "\" is not a " + type.Nom + " in " + quoi);
  }

  pugi::xml_node corps_;
  size_t budget_;
  bool indexe_ = false;
  std::unordered_map<std::string, pugi::xml_node> ids_;
};

pugi::xml_node PremierElement(pugi::xml_node n) {
  for (pugi::xml_node e : n.children())
    if (e.type() == pugi::node_element) return e;
  return {};
}

// ---- writing ----

constexpr std::string_view kEnteteXml = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

std::string NomQualifie(const TypeSoap& t) { return (t.EstXsd() ? "xsd:" : "NS2:") + t.Nom; }

void EcrireNombre(std::string& s, double d) {
  if (std::isnan(d)) s += "NaN";
  else if (std::isinf(d)) s += d > 0 ? "INF" : "-INF";
  else {
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, d);
    s.append(buf, p);
  }
}

void EcrireDate(std::string& s, double d, bool avecHeure) {
  // Years 1 to 9999, as xsd:date writes them with four digits.
  if (!(d >= -693593.0 && d < 2958466.0)) throw ESoapError("Date out of range in the answer");
  int an;
  unsigned mois, jour, h, mn, sec, ms;
  DateTime::DecodeDate(d, an, mois, jour);
  char buf[40];
  int n = std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", an, mois, jour);
  if (avecHeure) {
    DateTime::DecodeTime(d, h, mn, sec, ms);
    n += std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "T%02u:%02u:%02u.%03u", h, mn, sec, ms);
  }
  s.append(buf, static_cast<size_t>(n));
}

void EcrireContenu(std::string& s, const TypeSoap& t, const ValeurSoap& v, bool litteral, int profondeur);

void EcrireElement(std::string& s, std::string_view nom, const TypeSoap& t, const ValeurSoap& v, bool litteral,
                   bool avecType, int profondeur) {
  s += '<';
  s += nom;
  if (!litteral && (avecType || t.Nature == NatureSoap::Tableau)) {
    s += " xsi:type=\"" + NomQualifie(t) + "\"";
    if (t.Nature == NatureSoap::Tableau)
      s += " SOAP-ENC:arrayType=\"" + NomQualifie(*t.Element) + "[" + std::to_string(v.Elements.size()) + "]\"";
    if (!t.EstXsd() || (t.Nature == NatureSoap::Tableau && !t.Element->EstXsd()))
      s += " xmlns:NS2=\"" + (t.EstXsd() ? t.Element->Namespace : t.Namespace) + "\"";
  }
  s += '>';
  EcrireContenu(s, t, v, litteral, profondeur);
  s += "</";
  s += nom;
  s += '>';
}

void EcrireContenu(std::string& s, const TypeSoap& t, const ValeurSoap& v, bool litteral, int profondeur) {
  switch (t.Nature) {
    case NatureSoap::Chaine: EchapperTexte(s, v.Texte); break;
    case NatureSoap::Booleen: s += v.Entier ? "true" : "false"; break;
    case NatureSoap::Entier:
    case NatureSoap::Cardinal:
    case NatureSoap::Mot: s += std::to_string(v.Entier); break;
    case NatureSoap::Reel: EcrireNombre(s, v.Reel); break;
    case NatureSoap::Date: EcrireDate(s, v.Reel, false); break;
    case NatureSoap::DateHeure: EcrireDate(s, v.Reel, true); break;
    case NatureSoap::Enumeration:
      if (v.Entier < 0 || static_cast<size_t>(v.Entier) >= t.Valeurs.size())
        throw ESoapError("Value " + std::to_string(v.Entier) + " outside the enumeration " + t.Nom);
      s += t.Valeurs[static_cast<size_t>(v.Entier)];
      break;
    case NatureSoap::Tableau:
      if (profondeur > kProfondeurMaximale) throw ESoapError("Answer nested too deeply");
      for (const auto& e : v.Elements)
        EcrireElement(s, "item", *t.Element, e, litteral, false, profondeur + 1);
      break;
  }
}

}  // namespace

RequeteSoap Decoder(std::string_view corps, std::string_view actionSoap, const TRegistreInvocables& registre,
                    std::string_view charsetHttp) {
  const Encodage encodage = EncodageDe(corps, charsetHttp);
  std::string converti;
  if (encodage.depuis1252) converti = ChaineUnicode::VersUTF8(corps, 1252);
  const std::string_view lu8 = encodage.depuis1252 ? std::string_view(converti) : corps;
  pugi::xml_document doc;
  pugi::xml_parse_result lu =
      doc.load_buffer(lu8.data(), lu8.size(), pugi::parse_default | pugi::parse_doctype, encodage.xml);
  if (!lu) Refuser(std::string("Malformed XML: ") + lu.description() + " at offset " + std::to_string(lu.offset));
  for (pugi::xml_node n : doc.children())
    if (n.type() == pugi::node_doctype) Refuser("A document type declaration is not allowed in a SOAP message");
  pugi::xml_node enveloppe = doc.document_element();
  if (!Est(enveloppe, "Envelope", SoapNs::Enveloppe)) {
    // An envelope of another version (SOAP 1.2 above all) is told so: the caller may retry in 1.1.
    if (enveloppe && NomLocal(enveloppe.name()) == "Envelope" && !NamespaceDe(enveloppe, enveloppe.name()).empty())
      throw EFauteClientSoap(
          "The envelope is of another SOAP version (" +
              Vers1252(NamespaceDe(enveloppe, enveloppe.name()), "the envelope") + "); this service speaks SOAP 1.1",
          "VersionMismatch");
    Refuser("The document is not a SOAP 1.1 envelope");
  }
  pugi::xml_node body;
  for (pugi::xml_node e : enveloppe.children()) {
    if (Est(e, "Header", SoapNs::Enveloppe)) {
      for (pugi::xml_node h : e.children())
        if (pugi::xml_attribute mu = AttributLocal(h, "mustUnderstand"); mu && std::string_view(mu.value()) == "1")
          throw EFauteClientSoap("Header not understood: " + Vers1252(h.name(), "the header"), "MustUnderstand");
    } else if (Est(e, "Body", SoapNs::Enveloppe)) {
      body = e;
      break;
    }
  }
  if (!body) Refuser("The envelope has no Body");
  pugi::xml_node appel = PremierElement(body);
  if (!appel) Refuser("The Body holds no call");

  std::string_view action = Trim(actionSoap);
  if (action.size() >= 2 && action.front() == '"' && action.back() == '"') action = action.substr(1, action.size() - 2);
  std::string ns, nomOperation;
  if (action.empty()) {
    ns = NamespaceDe(appel, appel.name());
    nomOperation = NomLocal(appel.name());
  } else {
    size_t diese = action.rfind('#');
    if (diese == std::string_view::npos) Refuser("SOAP action without an operation: " + Vers1252(action, "SOAPAction"));
    ns = action.substr(0, diese);
    nomOperation = action.substr(diese + 1);
  }
  RequeteSoap r;
  r.Interface = registre.ParNamespace(ns);
  if (!r.Interface) Refuser("No port is registered for the namespace " + Vers1252(ns, "SOAPAction"));
  r.Operation = r.Interface->Operation(nomOperation);
  if (!r.Operation)
    Refuser("The port " + r.Interface->Nom + " has no operation " + Vers1252(nomOperation, "SOAPAction"));
  if (NomLocal(appel.name()) != r.Operation->Nom)
    Refuser("The Body calls " + Vers1252(NomLocal(appel.name()), "the Body") + " but the SOAP action names " +
            r.Operation->Nom);

  const auto& params = r.Operation->Parametres;
  std::vector<pugi::xml_node> noeuds(params.size());
  for (pugi::xml_node e : appel.children()) {
    if (e.type() != pugi::node_element) continue;
    std::string_view local = NomLocal(e.name());
    size_t i = 0;
    while (i < params.size() && params[i].Nom != local) ++i;
    if (i == params.size())
      Refuser("Unknown parameter " + Vers1252(local, "the call") + " of operation " + r.Operation->Nom);
    if (noeuds[i]) Refuser("Parameter " + params[i].Nom + " given twice");
    noeuds[i] = e;
  }
  Lecteur lecteur(body, corps.size());
  r.Arguments.reserve(params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    if (!noeuds[i]) Refuser("Missing parameter " + params[i].Nom + " of operation " + r.Operation->Nom);
    r.Arguments.push_back(lecteur.Lire(noeuds[i], *params[i].Type, "parameter " + params[i].Nom, 0));
  }
  return r;
}

std::string CharsetDe(std::string_view typeContenu) {
  const std::string minuscules = Minuscules(typeContenu);
  for (size_t p = minuscules.find(';'); p != std::string::npos; p = minuscules.find(';', p + 1)) {
    std::string_view parametre = Trim(std::string_view(typeContenu).substr(p + 1));
    parametre = parametre.substr(0, parametre.find(';'));
    const size_t egal = parametre.find('=');
    if (egal == std::string_view::npos || Minuscules(Trim(parametre.substr(0, egal))) != "charset") continue;
    std::string_view valeur = Trim(parametre.substr(egal + 1));
    if (valeur.size() >= 2 && valeur.front() == '"' && valeur.back() == '"') valeur = valeur.substr(1, valeur.size() - 2);
    return std::string(valeur);
  }
  return {};
}

std::string EncoderReponse(const InterfaceInvocable& interface, const OperationSoap& operation,
                           const ValeurSoap& resultat) {
  bool litteral = interface.Litteral();
  std::string s(kEnteteXml);
  s += "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"";
  s += SoapNs::Enveloppe;
  s += "\" xmlns:xsd=\"";
  s += SoapNs::XmlSchema;
  s += "\" xmlns:xsi=\"";
  s += SoapNs::XmlSchemaInstance;
  s += "\" xmlns:SOAP-ENC=\"";
  s += SoapNs::Encodage;
  s += "\">";
  s += litteral ? "<SOAP-ENV:Body>" : "<SOAP-ENV:Body SOAP-ENV:encodingStyle=\"" + std::string(SoapNs::Encodage) + "\">";
  s += "<NS1:" + operation.Nom + "Response xmlns:NS1=\"" + interface.Namespace + "\">";
  if (operation.Resultat) EcrireElement(s, "return", *operation.Resultat, resultat, litteral, true, 0);
  s += "</NS1:" + operation.Nom + "Response></SOAP-ENV:Body></SOAP-ENV:Envelope>";
  return s;
}

std::string EncoderFaute(std::string_view code, std::string_view message) {
  std::string s(kEnteteXml);
  s += "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"";
  s += SoapNs::Enveloppe;
  s += "\"><SOAP-ENV:Body><SOAP-ENV:Fault><faultcode>SOAP-ENV:";
  s += code;
  s += "</faultcode><faultstring>";
  EchapperTexte(s, message);
  s += "</faultstring></SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>";
  return s;
}

void EchapperTexte(std::string& sortie, std::string_view texte) {
  for (char c : texte) {
    auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '&': sortie += "&amp;"; continue;
      case '<': sortie += "&lt;"; continue;
      case '>': sortie += "&gt;"; continue;
      case '\r': sortie += "&#13;"; continue;  // kept through the reader's end-of-line handling
      default: break;
    }
    if (b < 0x20 && c != '\t' && c != '\n') sortie += '?';
    else if (b >= 0x80 && b < 0xA0) {
      char16_t cp = ansi1252::kHighControls[b - 0x80];
      if (cp == 0) sortie += '?';
      else sortie += "&#" + std::to_string(static_cast<unsigned>(cp)) + ";";
    } else
      sortie += c;
  }
}

}  // namespace EnveloppeSoap
