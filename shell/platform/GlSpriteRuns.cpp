#include "shell/platform/GlSpriteRuns.h"

#include "shell/platform/GlFunctions.h"
#include "shell/platform/GlTextureRegistry.h"

#include <algorithm>
#include <cassert>

namespace
{
// The four corners of the unit quad come from the vertex's number; the
// instance's rectangle (left, top, right, bottom, in drawing-surface pixels)
// places it, and the texture window (the whole texture, but for a clipped
// sprite) covers it.
const char* const VertexShader = R"(
layout(location = 0) in vec4 rectangle;
uniform vec2 toClip;
uniform vec4 textureWindow;
out vec2 textureCoordinate;
void main()
{
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    textureCoordinate = mix(textureWindow.xy, textureWindow.zw, corner);
    gl_Position = vec4(mix(rectangle.xy, rectangle.zw, corner) * toClip + vec2(-1.0, 1.0), 0.0,
                       1.0);
}
)";
const char* const FragmentShader = R"(
in vec2 textureCoordinate;
uniform sampler2D image;
out vec4 colour;
void main()
{
    colour = texture(image, textureCoordinate);
}
)";

// Positions reach 16 bits' steps at mediump, a pixel apart past 1024: ES
// shaders ask for full precision (which every ES 3.0 GPU has).
const char* const DesktopHeader = "#version 330 core\n";
const char* const EmbeddedHeader =
    "#version 300 es\nprecision highp float;\nprecision highp int;\n";
} // namespace

GlSpriteRuns::GlSpriteRuns(GlFunctions* gl) : gl(gl) {}

GlSpriteRuns::~GlSpriteRuns()
{
    gl->DeleteVertexArrays(1, &vertexArray);
    gl->DeleteProgram(program);
}

bool GlSpriteRuns::Build(GlApi api, float surfaceWidth, float surfaceHeight, std::string* failure)
{
    // Each compiler's and the linker's own words reach the failure.
    const char* header = api == GlApi::Embedded ? EmbeddedHeader : DesktopHeader;
    const GLenum kinds[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    const char* const sources[2] = {VertexShader, FragmentShader};
    char log[1024] = {};
    program = gl->CreateProgram();
    bool compiled = true;
    for (int i = 0; i < 2; ++i)
    {
        const GLuint shader = gl->CreateShader(kinds[i]);
        const char* parts[2] = {header, sources[i]};
        gl->ShaderSource(shader, 2, parts, nullptr);
        gl->CompileShader(shader);
        GLint status = GL_FALSE;
        gl->GetShaderiv(shader, GL_COMPILE_STATUS, &status);
        if (status != GL_TRUE && compiled)
        {
            gl->GetShaderInfoLog(shader, sizeof log, nullptr, log);
            *failure = std::string(i == 0 ? "vertex" : "fragment") + " shader: " + log;
            compiled = false;
        }
        gl->AttachShader(program, shader);
        gl->DeleteShader(shader);
    }
    if (!compiled)
        return false;
    gl->LinkProgram(program);
    GLint linked = GL_FALSE;
    gl->GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
    {
        gl->GetProgramInfoLog(program, sizeof log, nullptr, log);
        *failure = std::string("program: ") + log;
        return false;
    }
    gl->UseProgram(program);
    textureWindow = gl->GetUniformLocation(program, "textureWindow");
    gl->Uniform2f(gl->GetUniformLocation(program, "toClip"), 2.0f / surfaceWidth,
                  -2.0f / surfaceHeight);
    gl->Uniform4f(textureWindow, 0.0f, 0.0f, 1.0f, 1.0f);

    gl->GenVertexArrays(1, &vertexArray);
    gl->BindVertexArray(vertexArray);
    gl->EnableVertexAttribArray(0);
    gl->VertexAttribDivisor(0, 1);
    gl->Enable(GL_BLEND);
    gl->BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // premultiplied
    return true;
}

void GlSpriteRuns::DrawInstances(std::size_t regionOffset, std::size_t first, std::size_t count)
{
    const std::size_t offset = regionOffset + first * sizeof(SpriteRect);
    gl->VertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(SpriteRect),
                            reinterpret_cast<const void*>(offset));
    gl->DrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, static_cast<GLsizei>(count));
}

int GlSpriteRuns::Draw(const TextureRun* runs, std::size_t runCount,
                       const std::vector<ClippedSprite>& clipped, std::size_t regionOffset,
                       const DrawingBackEnd* maker)
{
    int calls = 0;
    for (std::size_t i = 0; i < runCount; ++i)
    {
        const TextureRun& run = runs[i];
        const DrawingTexture* copy = run.texture;
        if (!copy || run.end <= run.start)
            continue;
        assert(copy->MadeBy(maker) && "a texture is drawn by the back end that made it");
        // (A texture that could not be made again after a lost context has no name.)
        if (!copy->MadeBy(maker) || !GlTextureRegistry::NameOf(copy))
            continue;
        gl->BindTexture(GL_TEXTURE_2D, GlTextureRegistry::NameOf(copy));
        // The run's sprites in order, each clipped one drawn on its own between.
        std::size_t next = run.start;
        auto e =
            std::lower_bound(clipped.begin(), clipped.end(), run.start,
                             [](const ClippedSprite& x, std::size_t at) { return x.index < at; });
        for (; e != clipped.end() && e->index < run.end; ++e)
        {
            if (e->index > next)
            {
                DrawInstances(regionOffset, next, e->index - next);
                ++calls;
            }
            if (e->drawn)
            {
                gl->Uniform4f(textureWindow, e->textureWindow[0], e->textureWindow[1],
                              e->textureWindow[2], e->textureWindow[3]);
                DrawInstances(regionOffset, e->index, 1);
                gl->Uniform4f(textureWindow, 0.0f, 0.0f, 1.0f, 1.0f);
                ++calls;
            }
            next = e->index + 1;
        }
        if (run.end > next)
        {
            DrawInstances(regionOffset, next, run.end - next);
            ++calls;
        }
    }
    return calls;
}
