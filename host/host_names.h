// Names the host gives its own objects, compared exactly as the host spells them.
#pragma once

constexpr char16_t kLeaderTypeName[] = u"TCW25DimLead";  // a leader graphic
constexpr char16_t kInfoPropertyName[] = u"Info";        // every graphic's free text
