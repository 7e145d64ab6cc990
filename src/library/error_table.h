// Every error the library raises, defined once: its number as Err.Number reads it, its source
// and its description. The raising code takes its errors from here, and the generator writes
// the reference's error rows from the same table, so the two cannot disagree.
//
// A description may hold parts in angle brackets (<SectionKey>): they name what is filled in
// when the error is raised, and the reference shows them as they are.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace zolbex {

// Source of the errors raised by the library's runtime itself (bad index, type mismatch...).
inline constexpr wchar_t kLibrarySource[] = L"ZOLBEX11";
// Source of the registry object's own errors.
inline constexpr wchar_t kRegistrySource[] = L"zolbex11.cRegistry";
// Errors that come from another component and pass through unchanged.
inline constexpr wchar_t kPassedThroughSource[] = L"(the component that failed)";

enum class Error {
    InvalidCall,
    Overflow,
    Subscript,
    ArrayLocked,
    TypeMismatch,
    OutOfStringSpace,
    PathNotFound,
    ObjectNotSet,
    ObjectRequired,
    CannotCreate,
    DuplicateKey,
    NoSuchMember,
    ComFailure,
    RegistryCreate,
    RegistryDeleteKey,
    RegistryOpenForDelete,
    RegistryDeleteValue,
    RegistryKeyNotWritable,
    RegistryBinary,
    RegistryWriteFailed,
    RegistryListing,
    EmptyName,
    BadItemList,
    ClassNotDefined,
    InvalidPointer,
    OutOfMemory,
    Unexpected,
    TypeInfoMissing,
    UnresolvedType,
    UnknownInterface,
    NoSuchInterface,
};

struct ErrorRow {
    Error id;
    const char* key;  // the name the reference notes use for it
    long number;      // as Err.Number reads it; 0: the HRESULT of the call that failed
    const wchar_t* source;
    const wchar_t* description;
};

inline constexpr ErrorRow kErrorRows[] = {
    {Error::InvalidCall, "invalid-call", 5, kLibrarySource, L"Invalid procedure call or argument"},
    {Error::Overflow, "overflow", 6, kLibrarySource, L"Overflow"},
    {Error::Subscript, "subscript", 9, kLibrarySource, L"Subscript out of range"},
    {Error::ArrayLocked, "array-locked", 10, kLibrarySource, L"This array is fixed or temporarily locked"},
    {Error::TypeMismatch, "type-mismatch", 13, kLibrarySource, L"Type mismatch"},
    {Error::OutOfStringSpace, "out-of-string-space", 14, kLibrarySource, L"Out of string space"},
    {Error::PathNotFound, "path-not-found", 76, L"(the Scripting runtime's)",
     L"Path not found (the Scripting runtime's own text)"},
    {Error::ObjectNotSet, "object-not-set", 91, kLibrarySource, L"Object variable or With block variable not set"},
    {Error::ObjectRequired, "object-required", 424, kLibrarySource, L"Object required"},
    {Error::CannotCreate, "cannot-create", 429, kLibrarySource, L"ActiveX component can't create object"},
    {Error::DuplicateKey, "duplicate-key", 457, kLibrarySource,
     L"This key is already associated with an element of this collection"},
    {Error::NoSuchMember, "no-such-member", 438, kLibrarySource, L"Object doesn't support this property or method"},
    {Error::ComFailure, "com-failure", 0, kPassedThroughSource, L"Automation error"},
    {Error::RegistryCreate, "registry-create", 26001, kRegistrySource, L"Failed to create registry Key: '<SectionKey>"},
    {Error::RegistryDeleteKey, "registry-delete-key", 26001, kRegistrySource,
     L"Failed to delete registry Key: '<ClassKey>',Section: '<SectionKey>"},
    {Error::RegistryOpenForDelete, "registry-open-for-delete", 26001, kRegistrySource,
     L"Failed to open key '<ClassKey>',Section: '<SectionKey>' for delete access"},
    {Error::RegistryDeleteValue, "registry-delete-value", 26001, kRegistrySource,
     L"Failed to delete registry Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>"},
    {Error::RegistryKeyNotWritable, "registry-key-not-writable", 26001, kRegistrySource,
     L"Failed to set registry value Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>' to value: "
     L"'<value>'"},
    // Raised without a source or text of its own, so it carries the library's and the runtime's.
    {Error::RegistryBinary, "registry-binary", 26001, kLibrarySource, L"Application-defined or object-defined error"},
    {Error::RegistryWriteFailed, "registry-write-failed", -2147194455, kRegistrySource,  // 0x800469A9
     L"Failed to set registry value Key: '<ClassKey>',Section: '<SectionKey>',Key: '<ValueKey>' to value: "
     L"'<value>'"},
    {Error::RegistryListing, "registry-listing", -2147194454, kRegistrySource,  // 0x800469AA
     L"<description of the failure that ended the listing>"},
    {Error::EmptyName, "empty-name", -2147194453, kRegistrySource,  // 0x800469AB
     L"Invalid parameter passed to <member> - <what> must not be empty"},
    {Error::BadItemList, "bad-item-list", -2147194452, kRegistrySource,  // 0x800469AC
     L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command"},
    {Error::ClassNotDefined, "class-not-defined", -2147194451, kRegistrySource,  // 0x800469AD
     L"Error - attempt to create additional associations before class defined."},
    {Error::InvalidPointer, "invalid-pointer", E_POINTER, kLibrarySource, L"Invalid pointer"},
    {Error::OutOfMemory, "out-of-memory", E_OUTOFMEMORY, kLibrarySource, L"Out of memory"},
    {Error::Unexpected, "unexpected", E_UNEXPECTED, kLibrarySource, L"Unexpected failure"},
    {Error::TypeInfoMissing, "type-info-missing", 0, kLibrarySource,
     L"The library's type information cannot be loaded"},
    {Error::UnresolvedType, "unresolved-type", 0, kLibrarySource,
     L"A type this member uses cannot be loaded: its type library is missing or not registered"},
    {Error::UnknownInterface, "unknown-interface", 0, kLibrarySource, L"Unknown interface"},
    {Error::NoSuchInterface, "no-such-interface", E_NOINTERFACE, kLibrarySource, L"No such interface"},
};

constexpr const ErrorRow& RowOf(Error id) { return kErrorRows[static_cast<int>(id)]; }

// The rows are indexed by their identifier; a row out of place fails the build.
constexpr bool RowsInOrder() {
    int i = 0;
    for (const ErrorRow& row : kErrorRows)
        if (static_cast<int>(row.id) != i++) return false;
    return true;
}
static_assert(RowsInOrder(), "kErrorRows must list the errors in the order of enum Error");

// The parts of a description filled in when it is raised: {L"SectionKey", the section}.
using DescriptionParts = std::initializer_list<std::pair<const wchar_t*, std::wstring>>;

// The row's description with each <name> replaced by its part.
std::wstring DescriptionOf(Error id, DescriptionParts parts = {});

}  // namespace zolbex
