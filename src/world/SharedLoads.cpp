#include "world/SharedLoads.h"

#include <map>
#include <memory>
#include <string>

#include "image/DeferredTextures.h"

namespace {

struct Kept {
    std::map<std::string, unsigned> mipmapped, plain, meshes, skies;
};
std::unique_ptr<Kept> kept;

unsigned shared(std::map<std::string, unsigned>* table, const char* memberName, unsigned (*load)(const char*)) {
    if (!table) return load(memberName);
    auto found = table->find(memberName);
    if (found != table->end()) return found->second;
    unsigned made = load(memberName);
    if (made != 0) (*table)[memberName] = made;
    return made;
}

}  // namespace

SharedLoads::SharedLoads() { kept = std::make_unique<Kept>(); }
SharedLoads::~SharedLoads() { kept.reset(); }

bool loadsShared() { return kept != nullptr; }

unsigned sharedMipmappedTexture(const char* memberName, unsigned (*load)(const char*)) {
    unsigned texture = shared(kept ? &kept->mipmapped : nullptr, memberName, load);
    // A texture made for an earlier world or environment is needed by this one as well.
    addTextureOwner(texture);
    return texture;
}

unsigned sharedPlainTexture(const char* memberName, unsigned (*load)(const char*)) {
    return shared(kept ? &kept->plain : nullptr, memberName, load);
}

unsigned sharedMeshList(const char* memberName, bool asSky, unsigned (*load)(const char*, bool)) {
    if (!kept) return load(memberName, asSky);
    auto& table = asSky ? kept->skies : kept->meshes;
    auto found = table.find(memberName);
    if (found != table.end()) return found->second;
    unsigned made = load(memberName, asSky);
    if (made != 0) table[memberName] = made;
    return made;
}
