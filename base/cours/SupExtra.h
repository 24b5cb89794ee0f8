// The extraction: the part of the base that a user works on, marked by a transient byte of the
// in-memory records (never stored, never sent). Marking a course follows the link between a whole
// course and its fractions: a split course is extracted whole. The marks of resources, subjects,
// modules and curricula come with their files. Main thread only.
#pragma once

namespace SupExtra {

// Sets the extracted mark of the current course: a fraction marks its whole course, and a whole
// course gives the mark to every fraction. Nothing happens when the mark already has that value,
// unless Toujours. Marks the base modified; the position is restored.
void MarquerExtractionCours(bool Valeur, bool Toujours);

}  // namespace SupExtra
