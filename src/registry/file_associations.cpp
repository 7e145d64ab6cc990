// CreateEXEAssociation and CreateAdditionalEXEAssociations: registering a document type for a
// program in the shell. Both work only through the object's own location, type, key test and
// value writer, so they leave the object's properties where their last write put them: ClassKey
// HKEY_LOCAL_MACHINE, SectionKey the last key written (without the "SOFTWARE\Classes\" prefix),
// ValueKey empty and ValueType REG_SZ.
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

#include "library/bstr.h"
#include "library/variant.h"
#include "library/variant_values.h"
#include "platform/platform.h"
#include "platform/registry_names.h"
#include "registry/registry_error.h"
#include "registry/registry_object.h"

namespace zolbex {
namespace {

constexpr wchar_t kMachineClasses[] = L"SOFTWARE\\Classes\\";

// The class's private writer: one text as the value ValueKey of SectionKey under both class
// roots, HKEY_CLASSES_ROOT first. It leaves ClassKey at HKEY_LOCAL_MACHINE and SectionKey as
// it found it; a failure ends it where it happened (nothing is put back).
void WriteClassesRootValue(RegistryObject& registry, const std::wstring& text) {
    Variant value;
    V_VT(value.Get()) = VT_BSTR;
    V_BSTR(value.Get()) = NewBstr(text);
    registry.SetClassKey(kHkeyClassesRoot);
    registry.Write(*value.Get());
    const std::wstring section = registry.SectionKey();
    registry.SetClassKey(kHkeyLocalMachine);
    registry.SetSectionKey(kMachineClasses + section);
    registry.Write(*value.Get());
    registry.SetSectionKey(section);
}

// Points the object at the default value of `section` and writes `text` to both roots.
void WriteDefaultValue(RegistryObject& registry, const std::wstring& section, const std::wstring& text) {
    registry.SetSectionKey(section);
    registry.SetValueKey(std::wstring());
    WriteClassesRootValue(registry, text);
}

// The program path in double quotes: blanks trimmed, then a quote put in front and at the end
// unless one is already there.
std::wstring QuotedProgram(std::wstring_view path) {
    const size_t first = path.find_first_not_of(L' ');
    path = first == std::wstring_view::npos ? std::wstring_view()
                                            : path.substr(first, path.find_last_not_of(L' ') - first + 1);
    std::wstring quoted(path);
    if (quoted.empty() || quoted.front() != L'"') quoted.insert(0, 1, L'"');
    if (quoted.back() != L'"') quoted.push_back(L'"');
    return quoted;
}

std::wstring TextOr(BSTR text, std::wstring_view fallback) {
    const std::wstring_view given = Bstr::ViewOf(text);
    return std::wstring(given.empty() ? fallback : given);
}

// An empty class name would address the classes root itself (and an empty extension the key
// "."), so neither is accepted.
void RefuseEmptyName(BSTR name, const wchar_t* member, const wchar_t* what) {
    if (Bstr::ViewOf(name).empty())
        Raise(Error::EmptyName, {{L"member", member}, {L"what", what}});
}

// One optional verb of CreateEXEAssociation: its menu text and its command line.
void WriteVerb(RegistryObject& registry, const std::wstring& classKey, const wchar_t* verb,
               const std::wstring& menuText, const std::wstring& command) {
    const std::wstring verbKey = classKey + L"\\shell\\" + verb;
    WriteDefaultValue(registry, verbKey, menuText);
    WriteDefaultValue(registry, verbKey + L"\\command", command);
}

// The items of the variable argument list, read as VARIANTs.
class ItemList {
public:
    // The list, or nullopt when its bounds cannot be read.
    static std::optional<ItemList> Of(SAFEARRAY** items) {
        if (!items || !*items || SafeArrayGetDim(*items) != 1) return std::nullopt;
        VARTYPE type = VT_EMPTY;
        LONG lower = 0, upper = -1;
        if (FAILED(SafeArrayGetVartype(*items, &type)) || type != VT_VARIANT ||
            FAILED(SafeArrayGetLBound(*items, 1, &lower)) || FAILED(SafeArrayGetUBound(*items, 1, &upper)))
            return std::nullopt;
        return ItemList(*items, lower, upper - lower + 1);
    }

    LONG Count() const { return count_; }

    // Item `index` (counted from 0) as text; a by-reference item is read through its reference.
    std::wstring TextAt(LONG index) const {
        Variant item;
        LONG position = lower_ + index;
        ThrowIfFailed(SafeArrayGetElement(array_, &position, item.Get()));
        return ValueAsText(*CopyOf(*item.Get()).Get());
    }

private:
    ItemList(SAFEARRAY* array, LONG lower, LONG count) : array_(array), lower_(lower), count_(count) {}

    SAFEARRAY* array_;
    LONG lower_;
    LONG count_;
};

// Runs one step of the verb loop. A failing step does not stop the loop, so every other value
// is still written; the first failure is kept for the caller. Returns whether the step ran.
template <class Step>
bool RunStep(std::optional<AutomationError>& firstFailure, Step&& step) {
    try {
        step();
        return true;
    } catch (const AutomationError& error) {
        if (!firstFailure) firstFailure = error;
        return false;
    }
}

}  // namespace

HRESULT RegistryObject::CreateEXEAssociation(BSTR sExePath, BSTR sClassName, BSTR sClassDescription,
                                             BSTR sAssociation, BSTR sOpenMenuText, VARIANT_BOOL bSupportPrint,
                                             BSTR sPrintMenuText, VARIANT_BOOL bSupportNew, BSTR sNewMenuText,
                                             VARIANT_BOOL bSupportInstall, BSTR sInstallMenuText,
                                             LONG lDefaultIconIndex) {
    return Guarded([&] {
        RefuseEmptyName(sClassName, L"CreateEXEAssociation", L"the class name");
        RefuseEmptyName(sAssociation, L"CreateEXEAssociation", L"the extension");
        const std::wstring program = QuotedProgram(Bstr::ViewOf(sExePath));
        const std::wstring extension(Bstr::ViewOf(sAssociation));
        const std::wstring classKey(Bstr::ViewOf(sClassName));

        SetSectionKey(L"." + extension);
        SetValueType(REG_SZ);
        SetValueKey(std::wstring());
        WriteClassesRootValue(*this, classKey);
        SetSectionKey(classKey);
        WriteClassesRootValue(*this, std::wstring(Bstr::ViewOf(sClassDescription)));

        WriteVerb(*this, classKey, L"open", TextOr(sOpenMenuText, L"&Open"), program + L" \"%1\"");
        if (bSupportPrint)
            WriteVerb(*this, classKey, L"print", TextOr(sPrintMenuText, L"&Print"), program + L" /p \"%1\"");
        if (bSupportInstall)
            WriteVerb(*this, classKey, L"add", TextOr(sInstallMenuText, L"&Install " + extension),
                      program + L" /a \"%1\"");
        if (bSupportNew)
            WriteVerb(*this, classKey, L"new", TextOr(sNewMenuText, L"&New"), program + L" /n \"%1\"");
        if (lDefaultIconIndex > -1)
            WriteDefaultValue(*this, classKey + L"\\DefaultIcon", program + L"," + std::to_wstring(lDefaultIconIndex));

        platform::Current().NotifyAssociationsChanged();
    });
}

HRESULT RegistryObject::CreateAdditionalEXEAssociations(BSTR sClassName, SAFEARRAY** vItems) {
    return Guarded([&] {
        const std::optional<ItemList> items = ItemList::Of(vItems);
        if (!items || items->Count() % 3 != 0)
            Raise(Error::BadItemList);
        RefuseEmptyName(sClassName, L"CreateAdditionalEXEAssociations", L"the class name");
        const std::wstring classKey(Bstr::ViewOf(sClassName));

        // The class is looked for under whatever root the object holds now.
        SetSectionKey(classKey);
        if (!Exists())
            Raise(Error::ClassNotDefined);

        std::optional<AutomationError> firstFailure;
        for (LONG i = 0; i < items->Count(); i += 3) {
            SetValueType(REG_SZ);
            std::wstring verbKey;
            // A Name without a text form would leave the group no key of its own: skip it whole.
            if (!RunStep(firstFailure, [&] { verbKey = classKey + L"\\shell\\" + items->TextAt(i); })) continue;
            SetSectionKey(verbKey);
            SetValueKey(std::wstring());
            RunStep(firstFailure, [&] { WriteClassesRootValue(*this, items->TextAt(i + 1)); });
            SetSectionKey(verbKey + L"\\command");
            SetValueKey(std::wstring());
            RunStep(firstFailure, [&] { WriteClassesRootValue(*this, items->TextAt(i + 2)); });
        }
        if (firstFailure) throw *firstFailure;

        platform::Current().NotifyAssociationsChanged();
    });
}

}  // namespace zolbex
