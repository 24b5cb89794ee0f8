// Reads back the PDF documents that tests write, through the poppler tools a person would use:
// pdfinfo (pages and page size), pdftotext -bbox (each word with its box in points) and pdffonts
// (the fonts and whether they are embedded); pdftoppm turns a page into a PNG file to look at.
#pragma once

#include <string>
#include <vector>

namespace LecturePDF {

// A new empty folder under the temporary folder, for the documents of one test; empty when it
// cannot be made.
std::string NouveauDossier(const std::string& Prefixe);

// A word of a page and its box, in points from the page's top-left corner.
struct TMot {
  std::string Texte;  // UTF-8, as the tool gives it
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};

// What a command writes on its standard output; empty when it cannot run.
std::string Sortie(const std::string& Commande);
// The value of a "Key:" line of pdfinfo (for example "Pages", "Page size"), trimmed.
std::string Info(const std::string& Chemin, const std::string& Cle);
// The words of page Page (1-based).
std::vector<TMot> Mots(const std::string& Chemin, int Page);
// pdffonts' table, as it prints it.
std::string Polices(const std::string& Chemin);
// Writes page Page as a PNG of PointsParPouce dots per inch to Chemin + "-<page>.png" and answers
// that file's name, or "" when the tool failed.
std::string VersPNG(const std::string& Chemin, int Page, int PointsParPouce);

}  // namespace LecturePDF
