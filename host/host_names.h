// Names the host gives its own objects, compared exactly as the host spells them. The add-in
// reads them; the simulated host and the reference host give and draw them.
#pragma once

// Type names of graphics.
constexpr char16_t kLeaderTypeName[] = u"TCW25DimLead";     // a leader graphic
constexpr char16_t kTextTypeName[] = u"TEXT";               // a free text, such as a leader's
constexpr char16_t kBlockTypeName[] = u"INSERT";            // an insert of a named block
constexpr char16_t kExtrusionTypeName[] = u"TCW40EXTRUDE";  // an extruded solid over a path
constexpr char16_t kGraphicTypeName[] = u"GRAPHIC";         // any other graphic, a path among them
// A property every graphic has, and the menu paths of the host's own commands.
constexpr char16_t kInfoPropertyName[] = u"Info";                      // every graphic's free text
constexpr char16_t kSelectCommandName[] = u"Edit|Select";              // the host's select command
constexpr char16_t kLeaderCommandName[] = u"Insert|Dimension|Leader";  // the host's leader command
