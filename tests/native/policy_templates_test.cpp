// The Group Policy templates (installer/policies) against the table of stored options: one policy
// per option and for the data folder, in the policy key, under its value name, in its kind's form
// (see the head of Tallyline.admx), its texts and box in the ADML, the box showing its default.
#include <gtest/gtest.h>
#include <strings.h>
#include <tinyxml2.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/decimal_text.h"
#include "options/stored_options.h"

namespace {

using tinyxml2::XMLConstHandle;
using tinyxml2::XMLElement;

// The numbers that Tallyline's dialogs offer as a list; every other number is typed.
const std::set<std::string> kListOptions{"TLDefFormat", "TLDefObjDSource", "TLDefRenObjects", "TLDefLetterSet",
                                         "TLDefRenOrder"};

std::string Attr(const XMLElement* element, const char* name) {
  const char* value = element ? element->Attribute(name) : nullptr;
  return value ? value : "";
}

// The number of a child's <decimal>: of <enabledValue>, <disabledValue> or an enum item's <value>.
std::string DecimalOf(const XMLElement* parent, const char* child) {
  return Attr(XMLConstHandle(parent).FirstChildElement(child).FirstChildElement("decimal").ToElement(), "value");
}

std::vector<const XMLElement*> Children(const XMLElement* parent, const char* name = nullptr) {
  std::vector<const XMLElement*> children;
  for (const XMLElement* child = parent ? parent->FirstChildElement(name) : nullptr; child;
       child = child->NextSiblingElement(name))
    children.push_back(child);
  return children;
}

void EachElement(const XMLElement* element, const std::function<void(const XMLElement*)>& visit) {
  visit(element);
  for (const XMLElement* child : Children(element)) EachElement(child, visit);
}

// The X of "$(kind.X)"; empty for any other text.
std::string RefId(const std::string& text, const std::string& kind) {
  const std::string head = "$(" + kind + ".";
  return text.rfind(head, 0) == 0 && text.back() == ')' ? text.substr(head.size(), text.size() - head.size() - 1) : "";
}

// The values the policies must write: the data folder (as a text option) and the table's options.
std::vector<StoredOption> PolicyValues() {
  std::vector<StoredOption> values{
      TextOption(kDataPathName, &StoredOptions::DataPath, kDefaultDataPath, kDataPathMaxLength)};
  values.insert(values.end(), std::begin(kStoredOptions), std::end(kStoredOptions));
  return values;
}

// A value's key: the family key for the data folder, else the options' subkey, below Software\Policies.
std::string PolicyKey(const StoredOption& option) {
  const std::string family = kFamilyKeyPath;
  const std::string key = "Software\\Policies" + family.substr(family.find('\\'));
  return option.name == std::string(kDataPathName) ? key : key + "\\" + kOptionsKeyName;
}

// The ADMX form of an option: a flag is the policy itself; an ADMX decimal is unsigned, so a
// number that may be negative is a text as long as its longest number.
std::string FormOf(const StoredOption& option) {
  if (option.kind == StoredKind::Flag) return "flag";
  if (option.kind == StoredKind::Text) return "text";
  if (kListOptions.count(option.name)) return "enum";
  return option.lowest < 0 ? "text" : "decimal";
}

// A value that a policy writes, through the policy itself (a flag) or one of its elements.
struct Written {
  const XMLElement* policy;
  const XMLElement* element;
};

class PolicyTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(admx_.LoadFile(TL_SOURCE_DIR "/installer/policies/Tallyline.admx"), tinyxml2::XML_SUCCESS)
        << admx_.ErrorStr();
    ASSERT_EQ(adml_.LoadFile(TL_SOURCE_DIR "/installer/policies/en-US/Tallyline.adml"), tinyxml2::XML_SUCCESS)
        << adml_.ErrorStr();
    policies_ = Children(admx_.RootElement()->FirstChildElement("policies"), "policy");
    for (const XMLElement* policy : policies_) {
      if (!Attr(policy, "valueName").empty()) written_[Attr(policy, "valueName")].push_back({policy, nullptr});
      for (const XMLElement* element : Children(policy->FirstChildElement("elements")))
        written_[Attr(element, "valueName")].push_back({policy, element});
    }
  }

  // The ADML's strings or presentations, by id.
  std::map<std::string, const XMLElement*> Adml(const char* table, const char* entry) const {
    std::map<std::string, const XMLElement*> entries;
    XMLConstHandle resources = XMLConstHandle(adml_.RootElement()).FirstChildElement("resources");
    for (const XMLElement* element : Children(resources.FirstChildElement(table).ToElement(), entry))
      entries[Attr(element, "id")] = element;
    return entries;
  }

  tinyxml2::XMLDocument admx_, adml_;
  std::vector<const XMLElement*> policies_;
  std::map<std::string, std::vector<Written>> written_;  // by value name
};

TEST_F(PolicyTemplates, BothAreTemplatesOfOneRevision) {
  for (const auto& [root, name] : {std::pair{admx_.RootElement(), "policyDefinitions"},
                                   std::pair{adml_.RootElement(), "policyDefinitionResources"}}) {
    EXPECT_STREQ(root->Name(), name);
    EXPECT_EQ(Attr(root, "xmlns"), "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions");
    EXPECT_FALSE(Attr(root, "schemaVersion").empty());
  }
  XMLConstHandle namespaces = XMLConstHandle(admx_.RootElement()).FirstChildElement("policyNamespaces");
  EXPECT_FALSE(Attr(namespaces.FirstChildElement("target").ToElement(), "namespace").empty());
  EXPECT_EQ(Attr(admx_.RootElement()->FirstChildElement("resources"), "minRequiredRevision"),
            Attr(adml_.RootElement(), "revision"));
}

TEST_F(PolicyTemplates, EveryOptionHasOnePolicyInItsKeyAndForm) {
  const std::vector<StoredOption> options = PolicyValues();
  for (const auto& [name, values] : written_)
    EXPECT_TRUE(FindStoredOption(name) || name == kDataPathName) << "a policy writes an unknown value, " << name;
  XMLConstHandle root(admx_.RootElement());
  const std::string category = Attr(root.FirstChildElement("categories").FirstChildElement().ToElement(), "name");
  const XMLElement* supported =
      root.FirstChildElement("supportedOn").FirstChildElement().FirstChildElement().ToElement();
  for (const XMLElement* policy : policies_) {
    SCOPED_TRACE(Attr(policy, "name"));
    EXPECT_EQ((Attr(policy, "valueName").empty() ? 0 : 1) + Children(policy->FirstChildElement("elements")).size(), 1u)
        << "a policy writes other than one value";
    EXPECT_EQ(Attr(policy, "class"), "Both");
    EXPECT_EQ(Attr(policy->FirstChildElement("parentCategory"), "ref"), category);
    EXPECT_EQ(Attr(policy->FirstChildElement("supportedOn"), "ref"), Attr(supported, "name"));
  }
  for (const StoredOption& option : options) {
    SCOPED_TRACE(option.name);
    const auto found = written_.find(option.name);
    ASSERT_TRUE(found != written_.end() && found->second.size() == 1) << "not exactly one policy";
    const Written& policy = found->second.front();
    const std::string key =
        Attr(policy.element, "key").empty() ? Attr(policy.policy, "key") : Attr(policy.element, "key");
    EXPECT_EQ(strcasecmp(key.c_str(), PolicyKey(option).c_str()), 0) << key;  // keys ignore case
    const std::string form = FormOf(option);
    if (form == "flag") {
      EXPECT_EQ(DecimalOf(policy.policy, "enabledValue"), std::to_string(option.highest));
      EXPECT_EQ(DecimalOf(policy.policy, "disabledValue"), std::to_string(option.lowest));
      continue;
    }
    ASSERT_NE(policy.element, nullptr);
    EXPECT_EQ(policy.element->Name(), form);
    if (form == "decimal") {
      EXPECT_EQ(Attr(policy.element, "minValue"), std::to_string(option.lowest));
      EXPECT_EQ(Attr(policy.element, "maxValue"), std::to_string(option.highest));
    } else if (form == "enum") {
      std::vector<std::string> items, range;
      for (const XMLElement* item : Children(policy.element, "item")) items.push_back(DecimalOf(item, "value"));
      for (int32_t number = option.lowest; number <= option.highest; ++number) range.push_back(std::to_string(number));
      EXPECT_EQ(items, range);
    } else {
      const size_t longest = std::max(WriteInt32(option.lowest).size(), WriteInt32(option.highest).size());
      EXPECT_EQ(Attr(policy.element, "maxLength"),
                std::to_string(option.kind == StoredKind::Text ? option.maxLength : longest));
    }
  }
}

TEST_F(PolicyTemplates, EveryStringAndPresentationTheAdmxNamesIsInTheAdml) {
  const std::map<std::string, std::map<std::string, const XMLElement*>> ids{
      {"string", Adml("stringTable", "string")}, {"presentation", Adml("presentationTable", "presentation")}};
  size_t references = 0;
  EachElement(admx_.RootElement(), [&](const XMLElement* element) {
    for (auto attribute = element->FirstAttribute(); attribute; attribute = attribute->Next()) {
      for (const auto& [kind, known] : ids) {
        const std::string id = RefId(attribute->Value(), kind);
        references += !id.empty();
        EXPECT_TRUE(id.empty() || known.count(id)) << "the ADML lacks " << attribute->Value();
      }
    }
  });
  EXPECT_GE(references, 2 * policies_.size()) << "every policy names its title and its explanation";
}

TEST_F(PolicyTemplates, EachBoxIsItsElementsShowingTheOptionsDefault) {
  const std::map<std::string, std::string> boxes{
      {"decimal", "decimalTextBox"}, {"enum", "dropdownList"}, {"text", "textBox"}};
  std::map<std::string, const XMLElement*> presentations = Adml("presentationTable", "presentation");
  const StoredOptions defaults;
  for (const StoredOption& option : PolicyValues()) {
    SCOPED_TRACE(option.name);
    ASSERT_EQ(written_.count(option.name), 1u);
    const Written& policy = written_[option.name].front();
    const std::string id = RefId(Attr(policy.policy, "presentation"), "presentation");
    EXPECT_EQ(id.empty(), !policy.element) << "a flag has no box, an element has one";
    if (!policy.element) continue;
    ASSERT_EQ(Children(presentations[id]).size(), 1u);
    const XMLElement* box = presentations[id]->FirstChildElement();
    EXPECT_EQ(box->Name(), boxes.at(policy.element->Name()));
    EXPECT_EQ(Attr(box, "refId"), Attr(policy.element, "id"));
    std::string shown = Attr(box, "defaultValue");
    if (const XMLElement* text = box->FirstChildElement("defaultValue")) {  // a textBox's
      shown = text->GetText() ? text->GetText() : "";
    } else if (std::string(box->Name()) == "dropdownList") {
      const std::vector<const XMLElement*> items = Children(policy.element, "item");
      const size_t index = box->UnsignedAttribute("defaultItem", items.size());
      ASSERT_LT(index, items.size());
      shown = DecimalOf(items[index], "value");
    }
    EXPECT_EQ(shown, StoredText(option, defaults));
  }
}

}  // namespace
