// The menu icon: the snowman as a drawing, written as SVG. The build turns it
// into the PNG sizes with rsvg-convert, so every size comes from this one
// drawing, on the CPU, and the same sources give the same bytes anywhere.
#include <cstdio>
#include <fstream>
#include <string>

#include "generators.hpp"

namespace assetgen {

namespace {

// Drawing units: the 256 × 256 canvas, the snowman's feet on y = 246 and
// 76 units to his metre, so that he and his hat fill the height.
constexpr float unit = 76.0f;
constexpr float ground = 246.0f;
constexpr float middleX = 128.0f;

float up(float metres) {
    return ground - metres * unit;
}
float across(float metres) {
    return middleX + metres * unit;
}

// Fixed one-decimal numbers: the file must not depend on the locale.
std::string n(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(v));
    return text;
}

std::string circle(float x, float y, float r, const std::string& fill) {
    return "  <circle cx=\"" + n(x) + "\" cy=\"" + n(y) + "\" r=\"" + n(r) + "\" fill=\"" + fill +
           "\"/>\n";
}

std::string rect(float x, float y, float w, float h, float round, const std::string& fill) {
    return "  <rect x=\"" + n(x) + "\" y=\"" + n(y) + "\" width=\"" + n(w) + "\" height=\"" + n(h) +
           "\" rx=\"" + n(round) + "\" fill=\"" + fill + "\"/>\n";
}

std::string stick(const std::string& points) {
    return "  <polyline points=\"" + points +
           "\" fill=\"none\" stroke=\"#5a3a22\" stroke-width=\"5\" stroke-linecap=\"round\" "
           "stroke-linejoin=\"round\"/>\n";
}

// The balls as the model has them (radius, height of the centre).
struct Ball {
    float radius;
    float height;
};
constexpr Ball bottom{0.60f, 0.57f};
constexpr Ball middle{0.44f, 1.45f};
constexpr Ball head{0.32f, snowmanHeight - 0.32f};

std::string snowBall(const Ball& ball) {
    return circle(across(0), up(ball.height), ball.radius * unit, "url(#snow)");
}

// Twigs reaching up and out from the middle ball, each with one side shoot.
std::string arms() {
    const float y = up(middle.height + 0.12f);
    std::string out;
    for (float side : {-1.0f, 1.0f}) {
        const float x0 = across(side * middle.radius * 0.8f);
        const float x1 = across(side * 1.05f);
        const float y1 = y - 0.38f * unit;
        out += stick(n(x0) + "," + n(y) + " " + n(x1) + "," + n(y1));
        const float xm = (x0 + x1) * 0.5f + side * 0.12f * unit, ym = (y + y1) * 0.5f;
        out += stick(n(xm) + "," + n(ym) + " " + n(xm + side * 0.02f * unit) + "," +
                     n(ym - 0.22f * unit));
    }
    return out;
}

std::string buttons() {
    std::string out;
    for (float h : {-0.18f, 0.0f, 0.18f})
        out += circle(across(0.0f), up(middle.height + h), 4.5f, "#16161a");
    return out;
}

// A red knitted band with blue stripes, and its tail hanging on one side.
std::string scarf() {
    const float y = up(head.height - head.radius + 0.02f);
    std::string out = rect(across(-0.33f), y - 7.0f, 0.66f * unit, 14.0f, 7.0f, "#c0262d");
    for (float x : {-0.18f, 0.0f, 0.18f})
        out += rect(across(x) - 3.0f, y - 7.0f, 6.0f, 14.0f, 1.0f, "#2f4fa8");
    out += rect(across(0.14f), y, 12.0f, 0.40f * unit, 4.0f, "#c0262d");
    out += rect(across(0.14f), y + 0.16f * unit, 12.0f, 5.0f, 0.0f, "#2f4fa8");
    return out;
}

std::string face() {
    const float eyes = up(head.height + 0.08f);
    std::string out = circle(across(-0.11f), eyes, 4.5f, "#16161a") +
                      circle(across(0.11f), eyes, 4.5f, "#16161a");
    // The carrot points to the right, the way he walks.
    const float y = up(head.height - 0.04f), x = across(0.02f);
    out += "  <polygon points=\"" + n(x) + "," + n(y - 5.0f) + " " + n(x + 0.34f * unit) + "," +
           n(y + 1.0f) + " " + n(x) + "," + n(y + 5.0f) + "\" fill=\"#ee7a1c\"/>\n";
    return out;
}

std::string hat() {
    const float brim = up(hatSeat);
    std::string out = rect(across(-0.42f), brim - 6.0f, 0.84f * unit, 7.0f, 3.0f, "#1b1b20");
    out += rect(across(-0.27f), brim - 0.50f * unit, 0.54f * unit, 0.50f * unit, 2.0f, "#1b1b20");
    out += rect(across(-0.27f), brim - 0.16f * unit, 0.54f * unit, 0.09f * unit, 0.0f, "#b01c24");
    return out;
}

} // namespace

std::string snowmanIcon() {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n"
                      "  <defs>\n"
                      "    <radialGradient id=\"snow\" cx=\"0.38\" cy=\"0.32\" r=\"0.75\">\n"
                      "      <stop offset=\"0\" stop-color=\"#ffffff\"/>\n"
                      "      <stop offset=\"0.55\" stop-color=\"#eef3fa\"/>\n"
                      "      <stop offset=\"1\" stop-color=\"#aebdd6\"/>\n"
                      "    </radialGradient>\n"
                      "  </defs>\n";
    svg += arms();
    svg += snowBall(bottom) + snowBall(middle) + buttons();
    svg += snowBall(head) + scarf() + face() + hat();
    return svg + "</svg>\n";
}

bool makeIcon(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << snowmanIcon();
    return static_cast<bool>(file.flush());
}

} // namespace assetgen
