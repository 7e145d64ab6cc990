// Arguments as a careless or hostile late-bound caller builds them, drawn from a seeded
// generator: every VARIANT type alone, by reference (null pointers, chains and cycles of
// references among them) and in arrays of one to three dimensions with odd bounds; records;
// null and foreign objects; texts that are empty, null, very long or hold NULs. A pool owns all
// of one call's arguments and whatever a callee wrote back into them, and frees it afterwards.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "library/variant.h"

namespace zolbex::testing {

// A small deterministic generator (splitmix64): the same seed gives the same calls on every
// compiler and target.
class FuzzRandom {
public:
    explicit FuzzRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // 0 .. bound-1 (bound > 0).
    unsigned Below(unsigned bound) { return static_cast<unsigned>(Next() % bound); }
    bool Chance(unsigned percent) { return Below(100) < percent; }

private:
    uint64_t state_;
};

class ArgumentPool {
public:
    // Objects handed out as arguments: one of the library's own (may be null).
    explicit ArgumentPool(IDispatch* own) : own_(own) {}
    ~ArgumentPool();
    ArgumentPool(const ArgumentPool&) = delete;
    ArgumentPool& operator=(const ArgumentPool&) = delete;

    // Fills `arg` (uninitialised storage) with a new argument; its storage stays in the pool.
    // Returns the kind drawn (its index in the table of generators), for the figures of the run.
    unsigned Make(FuzzRandom& random, VARIANT* arg);

private:
    struct Generator;
    static const Generator kGenerators[];

    VARIANT* Referent();  // a VARIANT owned by the pool, cleared when the pool ends
    void Scalar(FuzzRandom& random, VARIANT* out, bool withObjects);
    SAFEARRAY* Array(FuzzRandom& random);

    IDispatch* own_;
    std::vector<std::unique_ptr<VARIANT>> referents_;
};

// A foreign object that has no IDispatch, and one whose every call fails.
IUnknown* NewPlainUnknown();
IDispatch* NewFailingDispatch();
// A record description whose every call fails (it lives for the process).
IRecordInfo* FailingRecordInfo();

}  // namespace zolbex::testing
