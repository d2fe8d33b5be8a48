// Procedural textures of the show. Every painter is deterministic in its seed; sizes are
// powers of two. Glows, lights and particles are painted on black because the show adds
// them to the picture (black adds nothing).
#pragma once
#include "mkcontent/Image.h"
#include <cstdint>

// ocean: a water world with scattered islands; star: a glowing surface in the tint's colour.
enum class PlanetKind { rocky, gasGiant, ice, lava, sun, ocean, star };

// Equirectangular surface for the unit sphere (v = 1 at the north pole), seamless in u.
Image paintPlanet(PlanetKind kind, int width, uint64_t seed, Color tint);
// Cloud layer for a second, translucent sphere: white where clouds are, black elsewhere.
Image paintClouds(int width, uint64_t seed);
// Sky dome: stars over a faint nebula wash in the given colours; starsPerColumn stars are
// scattered for every texel column (fewer suit a large dome seen close up).
Image paintSky(int width, uint64_t seed, Color nebulaA, Color nebulaB, double nebulaStrength,
               double starsPerColumn = 6);
// Spiral galaxy seen face-on, tinted.
Image paintGalaxy(int size, uint64_t seed, Color tint);
// Soft cloud for nebula billboards.
Image paintNebulaPuff(int size, uint64_t seed, Color inner, Color outer);
// Star glow with rays, for flares.
Image paintFlareGlow(int size, Color tint, int rays);
// Lens elements: a thin ring, a soft disc and a hexagonal ghost.
Image paintLensRing(int size);
Image paintLensDisc(int size);
Image paintLensHex(int size);
// The small round dot of dust and emitter particles.
Image paintParticle(int size, Color tint);
// Ship hull plating and a chrome reflection map.
Image paintHull(int size, uint64_t seed, Color base, Color accent);
Image paintChrome(int size, Color sky, Color ground);
// Engine flame blob.
Image paintFlame(int size);
// Vertical aurora curtain.
Image paintAurora(int width, int height, uint64_t seed, Color low, Color high);
// Planetary ring seen face-on, to be laid flat with a fixed-orientation billboard.
Image paintRing(int size, uint64_t seed, Color tint);
// Navigation light: a small bright point with a soft halo.
Image paintNavLight(int size, Color tint);
// The same soft glow with an alpha channel (kept as a 32-bit TGA).
Image paintAlphaGlow(int size, Color tint);
// A still of the show for the dialog pictures: stars, a slanted galaxy, a lit giant planet.
Image paintPictureScene(int width, int height, uint64_t seed);
