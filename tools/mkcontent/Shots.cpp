#include "mkcontent/Shots.h"
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

Quat lookRotation(V3 dir, V3 up) {
    V3 f = normalized(dir);
    V3 u = normalized(up - f * dot(up, f));
    if (length(u) < 1e-9) {
        // looking straight along the wanted up: any perpendicular will do
        u = normalized(cross(f, std::fabs(f.x) < 0.9 ? V3{1, 0, 0} : V3{0, 0, 1}));
    }
    V3 l = cross(u, f);  // so that f x l = u
    // Columns of the rotation: f, l, u.
    double m00 = f.x, m10 = f.y, m20 = f.z;
    double m01 = l.x, m11 = l.y, m21 = l.z;
    double m02 = u.x, m12 = u.y, m22 = u.z;
    Quat q;
    double trace = m00 + m11 + m22;
    if (trace > 0) {
        double s = 0.5 / std::sqrt(trace + 1.0);
        q = {(m21 - m12) * s, (m02 - m20) * s, (m10 - m01) * s, 0.25 / s};
    } else if (m00 > m11 && m00 > m22) {
        double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        q = {0.25 * s, (m01 + m10) / s, (m02 + m20) / s, (m21 - m12) / s};
    } else if (m11 > m22) {
        double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        q = {(m01 + m10) / s, 0.25 * s, (m12 + m21) / s, (m02 - m20) / s};
    } else {
        double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        q = {(m02 + m20) / s, (m12 + m21) / s, 0.25 * s, (m10 - m01) / s};
    }
    double n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return {q.x / n, q.y / n, q.z / n, q.w / n};
}

V3 forwardOf(Quat q) {
    return {1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y + q.z * q.w), 2 * (q.x * q.z - q.y * q.w)};
}

V3 upOf(Quat q) {
    return {2 * (q.x * q.z + q.y * q.w), 2 * (q.y * q.z - q.x * q.w), 1 - 2 * (q.x * q.x + q.y * q.y)};
}

namespace {

struct Key {
    double time = 0;
    V3 position;
    bool hasTarget = false;
    V3 target;
    V3 up{0, 1, 0};
    double roll = 0;
    bool freeze = false;
};

V3 rotateAbout(V3 v, V3 axis, double degrees) {
    double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    V3 k = normalized(axis);
    return v * c + cross(k, v) * s + k * (dot(k, v) * (1 - c));
}

bool readVec(std::istringstream& in, V3& v) { return bool(in >> v.x >> v.y >> v.z); }

// Options after the position: look/face, roll/bank, up, freeze.
bool readOptions(std::istringstream& in, Key& key) {
    std::string word;
    while (in >> word) {
        if (word == "look" || word == "face") {
            if (!readVec(in, key.target)) return false;
            key.hasTarget = true;
        } else if (word == "roll" || word == "bank") {
            if (!(in >> key.roll)) return false;
        } else if (word == "up") {
            if (!readVec(in, key.up)) return false;
        } else if (word == "freeze") {
            key.freeze = true;
        } else {
            return false;
        }
    }
    return true;
}

std::string fmt(const char* format, double a, double b, double c, double d = 0) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
    return buffer;
}

// Writes the keyframe blocks and "ENDKEYS"; the orientation of each key looks at its target
// or, without one, along the path.
void writeKeys(std::vector<Key>& keys, std::ostringstream& out) {
    Quat previous;
    for (size_t i = 0; i < keys.size(); ++i) {
        Key& k = keys[i];
        V3 dir;
        if (k.hasTarget) {
            dir = k.target - k.position;
        } else {
            // the tangent the player's track will have here: half the chord of the neighbours
            size_t a = i > 0 ? i - 1 : i, b = i + 1 < keys.size() ? i + 1 : i;
            dir = keys[b].position - keys[a].position;
            if (length(dir) < 1e-9 && i > 0) dir = forwardOf(previous);
            if (length(dir) < 1e-9) dir = {1, 0, 0};
        }
        V3 up = rotateAbout(k.up, dir, k.roll);
        Quat q = lookRotation(dir, up);
        if (i > 0 && q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w < 0) {
            q = {-q.x, -q.y, -q.z, -q.w};  // stay on one side so neighbours interpolate the short way
        }
        previous = q;
        out << "keyframe\n";
        out << fmt("position V(%.3f %.3f %.3f)\n", k.position.x, k.position.y, k.position.z);
        out << fmt("quaternion Q(%.6f %.6f %.6f %.6f)\n", q.x, q.y, q.z, q.w);
        out << fmt("time %.3f\n", k.time, 0, 0);
        if (k.freeze) out << "freeze\n";
        out << "end\n";
    }
    out << "ENDKEYS\n";
}

bool orbitKeys(std::istringstream& in, std::vector<Key>& keys) {
    double t0, t1, a0, a1, radius, height;
    int steps;
    V3 centre;
    if (!(in >> t0 >> t1 >> steps) || !readVec(in, centre) || !(in >> radius >> height >> a0 >> a1)) return false;
    if (steps < 1 || t1 <= t0) return false;
    Key options;
    if (!readOptions(in, options)) return false;
    for (int s = 0; s <= steps; ++s) {
        double f = double(s) / steps;
        double a = (a0 + (a1 - a0) * f) * M_PI / 180.0;
        Key k = options;
        k.time = t0 + (t1 - t0) * f;
        k.position = centre + V3{radius * std::cos(a), height, -radius * std::sin(a)};
        if (!keys.empty() && std::fabs(keys.back().time - k.time) < 1e-9) continue;  // joined arcs
        keys.push_back(k);
    }
    return true;
}

std::string trimmed(const std::string& line) {
    size_t a = line.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = line.find_last_not_of(" \t\r");
    return line.substr(a, b - a + 1);
}

}  // namespace

bool expandScene(const std::string& source, std::string& result, std::string& error) {
    std::istringstream lines(source);
    std::ostringstream out;
    std::string line;
    int number = 0;
    bool inBlock = false;
    std::vector<Key> keys;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::string text = trimmed(line);
        std::istringstream in(text);
        std::string word;
        in >> word;
        if (!inBlock) {
            if (word == "camera") {
                out << "KEYFRAMES\n";
                inBlock = true;
                keys.clear();
            } else if (word == "fly") {
                std::string name;
                if (!(in >> name)) return fail("fly needs an object name");
                if (name.size() > 14) return fail("object name longer than 14 characters");
                out << "set " << name << "\n";
                inBlock = true;
                keys.clear();
            } else {
                if (text.size() > 127) return fail("longer than 127 characters");
                out << text << "\n";
            }
            continue;
        }
        if (word.empty()) continue;
        if (word == "done") {
            if (keys.size() < 2) return fail("a track needs at least two keys");
            for (size_t i = 1; i < keys.size(); ++i) {
                if (keys[i].time <= keys[i - 1].time) return fail("key times must increase");
            }
            writeKeys(keys, out);
            inBlock = false;
        } else if (word == "key") {
            Key k;
            if (!(in >> k.time) || !readVec(in, k.position) || !readOptions(in, k)) return fail("bad key line");
            keys.push_back(k);
        } else if (word == "orbit") {
            if (!orbitKeys(in, keys)) return fail("bad orbit line");
        } else {
            return fail("unknown line in a track: " + word);
        }
    }
    if (inBlock) return fail("track without its closing done");
    result = out.str();
    return true;
}
