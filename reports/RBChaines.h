// The visible texts of the report library's preview window and search dialog, as resource strings
// (a language module may give them other texts).
#pragma once

#include "core/values/ChaineRessource.h"

namespace RBChaines {

extern const TChaineRessource RS_PreviewCaption;
extern const TChaineRessource RS_Close;
extern const TChaineRessource RS_SearchResult;
extern const TChaineRessource RS_SearchedText;
extern const TChaineRessource RS_Pages;
extern const TChaineRessource RS_Print;
extern const TChaineRessource RS_ZoomFit;
extern const TChaineRessource RS_Zoom100;
extern const TChaineRessource RS_ZoomToWidth;
extern const TChaineRessource RS_FirstPage;
extern const TChaineRessource RS_PreviousPage;
extern const TChaineRessource RS_NextPage;
extern const TChaineRessource RS_LastPage;
extern const TChaineRessource RS_GotoPage;
extern const TChaineRessource RS_Find;
extern const TChaineRessource RS_PrintSetup;
extern const TChaineRessource RS_SaveReport;
extern const TChaineRessource RS_LoadReport;
extern const TChaineRessource RS_ZoomMinus;
extern const TChaineRessource RS_ZoomPlus;
extern const TChaineRessource RS_Page;
extern const TChaineRessource RS_Of;
extern const TChaineRessource RS_InvalidInput;
extern const TChaineRessource RS_IntegerExpected;
extern const TChaineRessource RS_TextNotFound;
extern const TChaineRessource RS_SelectPageBetween;
extern const TChaineRessource RS_SearchCaption;
extern const TChaineRessource RS_MatchCase;
extern const TChaineRessource RS_Cancel;
extern const TChaineRessource RS_OK;
extern const TChaineRessource RS_SaveReportTitle;
extern const TChaineRessource RS_LoadReportTitle;
extern const TChaineRessource RS_FileDoesNotExist;
extern const TChaineRessource RS_ReportFile;

// The text of a string (the translation when one is installed).
inline std::string Text(const TChaineRessource& S) { return ChaineRessource::Charger(S); }

void Initialiser();
void Finaliser();

}  // namespace RBChaines
