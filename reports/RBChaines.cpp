#include "reports/RBChaines.h"

#include "core/values/Ansi1252.h"

namespace RBChaines {

const TChaineRessource RS_PreviewCaption{"RBChaines_RS_PreviewCaption", 65420, "Aperçu avant impression"_ansi};
const TChaineRessource RS_Close{"RBChaines_RS_Close", 65421, "Fermer"};
const TChaineRessource RS_SearchResult{"RBChaines_RS_SearchResult", 65422, "Résultat de la recherche"_ansi};
const TChaineRessource RS_SearchedText{"RBChaines_RS_SearchedText", 65423, "Texte recherché"_ansi};
const TChaineRessource RS_Pages{"RBChaines_RS_Pages", 65424, "Pages"};
const TChaineRessource RS_Print{"RBChaines_RS_Print", 65425, "Imprimer"};
const TChaineRessource RS_ZoomFit{"RBChaines_RS_ZoomFit", 65426, "Zoom ajusté"_ansi};
const TChaineRessource RS_Zoom100{"RBChaines_RS_Zoom100", 65427, "Zoom 100%"};
const TChaineRessource RS_ZoomToWidth{"RBChaines_RS_ZoomToWidth", 65428, "Zoom sur la largeur"};
const TChaineRessource RS_FirstPage{"RBChaines_RS_FirstPage", 65429, "Première page"_ansi};
const TChaineRessource RS_PreviousPage{"RBChaines_RS_PreviousPage", 65430, "Page précédente"_ansi};
const TChaineRessource RS_NextPage{"RBChaines_RS_NextPage", 65431, "Page suivante"};
const TChaineRessource RS_LastPage{"RBChaines_RS_LastPage", 65432, "Dernière page"_ansi};
const TChaineRessource RS_GotoPage{"RBChaines_RS_GotoPage", 65433, "Allez à la page >>"_ansi};
const TChaineRessource RS_Find{"RBChaines_RS_Find", 65434, "Cherchez >>"};
const TChaineRessource RS_PrintSetup{"RBChaines_RS_PrintSetup", 65435, "Configuration"};
const TChaineRessource RS_SaveReport{"RBChaines_RS_SaveReport", 65436, "Sauver aperçu"_ansi};
const TChaineRessource RS_LoadReport{"RBChaines_RS_LoadReport", 65437, "Ouvrir aperçu"_ansi};
const TChaineRessource RS_ZoomMinus{"RBChaines_RS_ZoomMinus", 65438, "Zoom -"};
const TChaineRessource RS_ZoomPlus{"RBChaines_RS_ZoomPlus", 65439, "Zoom +"};
const TChaineRessource RS_Page{"RBChaines_RS_Page", 65440, "Page"};
const TChaineRessource RS_Of{"RBChaines_RS_Of", 65441, "sur"};
const TChaineRessource RS_InvalidInput{"RBChaines_RS_InvalidInput", 65442, "Saisie invalide"};
const TChaineRessource RS_IntegerExpected{"RBChaines_RS_IntegerExpected", 65443, "Nombre entier attendu !"};
const TChaineRessource RS_TextNotFound{"RBChaines_RS_TextNotFound", 65444, "Texte non trouvé"_ansi};
const TChaineRessource RS_SelectPageBetween{"RBChaines_RS_SelectPageBetween", 65445,
                                            "Sélectionnez une page entre 1 et"_ansi};
const TChaineRessource RS_SearchCaption{"RBChaines_RS_SearchCaption", 65446, "Recherche de texte"};
const TChaineRessource RS_MatchCase{"RBChaines_RS_MatchCase", 65447, "Respecter la casse"};
const TChaineRessource RS_Cancel{"RBChaines_RS_Cancel", 65448, "Annuler"};
const TChaineRessource RS_OK{"RBChaines_RS_OK", 65449, "OK"};
const TChaineRessource RS_SaveReportTitle{"RBChaines_RS_SaveReportTitle", 65450, "Save report"};
const TChaineRessource RS_LoadReportTitle{"RBChaines_RS_LoadReportTitle", 65451, "Load report"};
const TChaineRessource RS_FileDoesNotExist{"RBChaines_RS_FileDoesNotExist", 65452, "File does not exist"};
const TChaineRessource RS_ReportFile{"RBChaines_RS_ReportFile", 65453, "BandReport file"};

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {
      &RS_PreviewCaption, &RS_Close,       &RS_SearchResult,      &RS_SearchedText,  &RS_Pages,
      &RS_Print,          &RS_ZoomFit,     &RS_Zoom100,           &RS_ZoomToWidth,   &RS_FirstPage,
      &RS_PreviousPage,   &RS_NextPage,    &RS_LastPage,          &RS_GotoPage,      &RS_Find,
      &RS_PrintSetup,     &RS_SaveReport,  &RS_LoadReport,        &RS_ZoomMinus,     &RS_ZoomPlus,
      &RS_Page,           &RS_Of,          &RS_InvalidInput,      &RS_IntegerExpected, &RS_TextNotFound,
      &RS_SelectPageBetween, &RS_SearchCaption, &RS_MatchCase,    &RS_Cancel,        &RS_OK,
      &RS_SaveReportTitle, &RS_LoadReportTitle, &RS_FileDoesNotExist, &RS_ReportFile};
  static bool registered = false;
  if (!registered) {
    ChaineRessource::Enregistrer(kChaines);
    registered = true;
  }
}

void Finaliser() {}

}  // namespace RBChaines
