#include "shell/platform/GlBackEnd.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The entry points used, loaded by name; those of OpenGL 1.1 have no
// pointer types in the headers, so they are declared here.
struct GlBackEnd::Functions
{
    void(APIENTRY* Clear)(GLbitfield);
    void(APIENTRY* ClearColor)(GLfloat, GLfloat, GLfloat, GLfloat);
    void(APIENTRY* Viewport)(GLint, GLint, GLsizei, GLsizei);
    void(APIENTRY* Enable)(GLenum);
    void(APIENTRY* BlendFunc)(GLenum, GLenum);
    void(APIENTRY* GenTextures)(GLsizei, GLuint*);
    void(APIENTRY* DeleteTextures)(GLsizei, const GLuint*);
    void(APIENTRY* BindTexture)(GLenum, GLuint);
    void(APIENTRY* TexParameteri)(GLenum, GLenum, GLint);
    void(APIENTRY* TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                               const void*);
    void(APIENTRY* PixelStorei)(GLenum, GLint);
    void(APIENTRY* ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    const GLubyte*(APIENTRY* GetString)(GLenum);
    PFNGLCREATESHADERPROC CreateShader;
    PFNGLSHADERSOURCEPROC ShaderSource;
    PFNGLCOMPILESHADERPROC CompileShader;
    PFNGLGETSHADERIVPROC GetShaderiv;
    PFNGLDELETESHADERPROC DeleteShader;
    PFNGLCREATEPROGRAMPROC CreateProgram;
    PFNGLATTACHSHADERPROC AttachShader;
    PFNGLLINKPROGRAMPROC LinkProgram;
    PFNGLGETPROGRAMIVPROC GetProgramiv;
    PFNGLUSEPROGRAMPROC UseProgram;
    PFNGLDELETEPROGRAMPROC DeleteProgram;
    PFNGLGETUNIFORMLOCATIONPROC GetUniformLocation;
    PFNGLUNIFORM2FPROC Uniform2f;
    PFNGLGENVERTEXARRAYSPROC GenVertexArrays;
    PFNGLBINDVERTEXARRAYPROC BindVertexArray;
    PFNGLDELETEVERTEXARRAYSPROC DeleteVertexArrays;
    PFNGLGENBUFFERSPROC GenBuffers;
    PFNGLBINDBUFFERPROC BindBuffer;
    PFNGLBUFFERDATAPROC BufferData;
    PFNGLBUFFERSUBDATAPROC BufferSubData;
    PFNGLDELETEBUFFERSPROC DeleteBuffers;
    PFNGLENABLEVERTEXATTRIBARRAYPROC EnableVertexAttribArray;
    PFNGLVERTEXATTRIBPOINTERPROC VertexAttribPointer;
    PFNGLVERTEXATTRIBDIVISORPROC VertexAttribDivisor;
    PFNGLDRAWARRAYSINSTANCEDPROC DrawArraysInstanced;
    PFNGLMAPBUFFERRANGEPROC MapBufferRange;
    PFNGLUNMAPBUFFERPROC UnmapBuffer;
    PFNGLFENCESYNCPROC FenceSync;
    PFNGLCLIENTWAITSYNCPROC ClientWaitSync;
    PFNGLDELETESYNCPROC DeleteSync;
    PFNGLFLUSHMAPPEDBUFFERRANGEPROC FlushMappedBufferRange;
    PFNGLGETSHADERINFOLOGPROC GetShaderInfoLog;
    PFNGLGETPROGRAMINFOLOGPROC GetProgramInfoLog;
    PFNGLUNIFORM4FPROC Uniform4f;
    void(APIENTRY* GetIntegerv)(GLenum, GLint*);
    GLenum(APIENTRY* GetError)();
    void(APIENTRY* Finish)();

    // False when an entry point is missing.
    bool Load()
    {
        bool complete = true;
        auto load = [&complete](auto& function, const char* name)
        {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                SDL_GL_GetProcAddress(name));
            complete = complete && function;
        };
        load(Clear, "glClear");
        load(ClearColor, "glClearColor");
        load(Viewport, "glViewport");
        load(Enable, "glEnable");
        load(BlendFunc, "glBlendFunc");
        load(GenTextures, "glGenTextures");
        load(DeleteTextures, "glDeleteTextures");
        load(BindTexture, "glBindTexture");
        load(TexParameteri, "glTexParameteri");
        load(TexImage2D, "glTexImage2D");
        load(PixelStorei, "glPixelStorei");
        load(ReadPixels, "glReadPixels");
        load(GetString, "glGetString");
        load(CreateShader, "glCreateShader");
        load(ShaderSource, "glShaderSource");
        load(CompileShader, "glCompileShader");
        load(GetShaderiv, "glGetShaderiv");
        load(DeleteShader, "glDeleteShader");
        load(CreateProgram, "glCreateProgram");
        load(AttachShader, "glAttachShader");
        load(LinkProgram, "glLinkProgram");
        load(GetProgramiv, "glGetProgramiv");
        load(UseProgram, "glUseProgram");
        load(DeleteProgram, "glDeleteProgram");
        load(GetUniformLocation, "glGetUniformLocation");
        load(Uniform2f, "glUniform2f");
        load(GenVertexArrays, "glGenVertexArrays");
        load(BindVertexArray, "glBindVertexArray");
        load(DeleteVertexArrays, "glDeleteVertexArrays");
        load(GenBuffers, "glGenBuffers");
        load(BindBuffer, "glBindBuffer");
        load(BufferData, "glBufferData");
        load(BufferSubData, "glBufferSubData");
        load(DeleteBuffers, "glDeleteBuffers");
        load(EnableVertexAttribArray, "glEnableVertexAttribArray");
        load(VertexAttribPointer, "glVertexAttribPointer");
        load(VertexAttribDivisor, "glVertexAttribDivisor");
        load(DrawArraysInstanced, "glDrawArraysInstanced");
        load(MapBufferRange, "glMapBufferRange");
        load(UnmapBuffer, "glUnmapBuffer");
        load(FenceSync, "glFenceSync");
        load(ClientWaitSync, "glClientWaitSync");
        load(DeleteSync, "glDeleteSync");
        load(FlushMappedBufferRange, "glFlushMappedBufferRange");
        load(GetShaderInfoLog, "glGetShaderInfoLog");
        load(GetProgramInfoLog, "glGetProgramInfoLog");
        load(Uniform4f, "glUniform4f");
        load(GetIntegerv, "glGetIntegerv");
        load(GetError, "glGetError");
        load(Finish, "glFinish");
        return complete;
    }
};

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

// Errors the GL holds are taken, so that the next check sees its own call's;
// a lost context may report errors for ever, so at most a few.
GLenum TakeErrors(GlBackEnd::Functions* gl)
{
    GLenum first = GL_NO_ERROR;
    for (int i = 0; i < 8; ++i)
    {
        const GLenum error = gl->GetError();
        if (error == GL_NO_ERROR)
            break;
        if (first == GL_NO_ERROR)
            first = error;
    }
    return first;
}

void SetContextAttributes(GlApi api)
{
    const bool embedded = api == GlApi::Embedded;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        embedded ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, embedded ? 0 : 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

const char* ApiName(GlApi api)
{
    return api == GlApi::Embedded ? "OpenGL ES 3.0" : "OpenGL 3.3 core";
}

void APIENTRY CountError(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                         const void* counter)
{
    if (type != GL_DEBUG_TYPE_ERROR)
        return;
    ++*static_cast<int*>(const_cast<void*>(counter));
    std::fprintf(stderr, "GL error: %s\n", message);
}
} // namespace

// A texture's copy on the GPU. It may outlive the back end that made it,
// which then deletes its GL name and leaves it holding nothing.
class GlTexture : public DrawingTexture
{
public:
    GlTexture(GlBackEnd* backEnd, GLuint name)
        : DrawingTexture(backEnd), backEnd(backEnd), name(name), slot(backEnd->madeHere.size())
    {
        backEnd->madeHere.push_back(this);
    }
    ~GlTexture() override
    {
        if (!backEnd)
            return;
        backEnd->gl->DeleteTextures(1, &name);
        std::vector<GlTexture*>& made = backEnd->madeHere;
        made[slot] = made.back();
        made[slot]->slot = slot;
        made.pop_back();
    }

    GlBackEnd* backEnd; // null once the back end is gone
    const GLuint name;
    std::size_t slot; // in backEnd->madeHere
};

GlBackEnd* GlBackEnd::OpenWindow(const char* title, int width, int height, uint32_t windowFlags,
                                 const std::vector<GlApi>& apis, bool waitForRetrace,
                                 SDL_Window** window, std::string* failure)
{
    failure->clear();
    for (GlApi api : apis)
    {
        // SDL chooses between GLX and EGL when it makes the window, by the
        // attributes then.
        SetContextAttributes(api);
        *window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                   height, windowFlags | SDL_WINDOW_OPENGL);
        std::string reason = *window ? "" : std::string("no window for it: ") + SDL_GetError();
        if (*window)
        {
            if (GlBackEnd* backEnd = OnWindow(*window, api, width, height, waitForRetrace, &reason))
                return backEnd;
            SDL_DestroyWindow(*window);
            *window = nullptr;
        }
        if (!failure->empty())
            failure->append("; ");
        failure->append(ApiName(api)).append(": ").append(reason);
    }
    return nullptr;
}

GlBackEnd* GlBackEnd::Create(SDL_Window* window, int surfaceWidth, int surfaceHeight,
                             bool waitForRetrace)
{
    std::string reason;
    for (GlApi api : {GlApi::Desktop, GlApi::Embedded})
        if (GlBackEnd* backEnd =
                OnWindow(window, api, surfaceWidth, surfaceHeight, waitForRetrace, &reason))
            return backEnd;
    return nullptr;
}

GlBackEnd* GlBackEnd::OnWindow(SDL_Window* window, GlApi api, int surfaceWidth, int surfaceHeight,
                               bool waitForRetrace, std::string* failure)
{
    SetContextAttributes(api);
    GlBackEnd* backEnd = new GlBackEnd();
    if (!backEnd->Start(window, api, surfaceWidth, surfaceHeight, failure))
    {
        delete backEnd;
        return nullptr;
    }
    SDL_GL_SetSwapInterval(waitForRetrace ? 1 : 0);
    return backEnd;
}

bool GlBackEnd::Start(SDL_Window* window, GlApi api, int surfaceWidth, int surfaceHeight,
                      std::string* failure)
{
    this->window = window;
    this->surfaceWidth = static_cast<float>(surfaceWidth);
    this->surfaceHeight = static_cast<float>(surfaceHeight);
    context = SDL_GL_CreateContext(window);
    if (!context)
    {
        *failure = std::string("no context: ") + SDL_GetError();
        return false;
    }
    gl = new Functions();
    if (!gl->Load())
    {
        *failure = "an entry point is missing";
        return false;
    }

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
    toClip = gl->GetUniformLocation(program, "toClip");
    textureWindow = gl->GetUniformLocation(program, "textureWindow");
    gl->Uniform2f(toClip, 2.0f / this->surfaceWidth, -2.0f / this->surfaceHeight);
    gl->Uniform4f(textureWindow, 0.0f, 0.0f, 1.0f, 1.0f);
    gl->GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSide);

    gl->GenVertexArrays(1, &vertexArray);
    gl->BindVertexArray(vertexArray);
    gl->GenBuffers(1, &instances);
    gl->BindBuffer(GL_ARRAY_BUFFER, instances);
    gl->EnableVertexAttribArray(0);
    gl->VertexAttribDivisor(0, 1);
    gl->Enable(GL_BLEND);
    gl->BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // premultiplied
    gl->PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->PixelStorei(GL_PACK_ALIGNMENT, 4);
    if (const GLenum error = TakeErrors(gl))
    {
        *failure = "error " + std::to_string(error) + " while setting up";
        return false;
    }
    return true;
}

GlBackEnd::~GlBackEnd()
{
    if (context)
    {
        SDL_GL_MakeCurrent(window, context);
        if (gl && gl->DeleteTextures)
        {
            for (GlTexture* texture : madeHere)
            {
                gl->DeleteTextures(1, &texture->name);
                texture->backEnd = nullptr;
            }
            for (GLsync fence : fences)
                if (fence)
                    gl->DeleteSync(fence);
            gl->DeleteBuffers(1, &instances);
            gl->DeleteVertexArrays(1, &vertexArray);
            gl->DeleteProgram(program);
        }
        SDL_GL_DeleteContext(context);
    }
    delete gl;
}

DrawingTexture* GlBackEnd::CreateTexture(const DecodedImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.width > maxTextureSide ||
        image.height > maxTextureSide)
        return nullptr;
    // Premultiplied as every back end keeps textures, in RGBA bytes.
    std::vector<uint8_t> rgba(image.pixels.size() * 4);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
    {
        const uint32_t c = PremultipliedArgb(image.pixels[i]);
        rgba[4 * i] = static_cast<uint8_t>(c >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(c >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(c);
        rgba[4 * i + 3] = static_cast<uint8_t>(c >> 24);
    }
    TakeErrors(gl);
    GLuint name = 0;
    gl->GenTextures(1, &name);
    gl->BindTexture(GL_TEXTURE_2D, name);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                   GL_UNSIGNED_BYTE, rgba.data());
    if (TakeErrors(gl) != GL_NO_ERROR) // out of memory, most likely
    {
        gl->DeleteTextures(1, &name);
        return nullptr;
    }
    return new GlTexture(this, name);
}

void GlBackEnd::WaitForRegion(std::size_t which)
{
    // The GPU may still read a region of the frames before: it is written
    // once its fence says the GPU is done with it, however long that takes.
    GLsync fence = fences[which];
    if (!fence)
        return;
    GLbitfield flags = GL_SYNC_FLUSH_COMMANDS_BIT;
    for (;;)
    {
        const GLenum status = gl->ClientWaitSync(fence, flags, GLuint64(100000000));
        if (status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED)
            break;
        if (status != GL_TIMEOUT_EXPIRED)
        {
            gl->Finish(); // the wait failed: everything before is done after this
            break;
        }
        flags = 0;
    }
    gl->DeleteSync(fence);
    fences[which] = nullptr;
}

void GlBackEnd::NoteException(std::size_t index, const SpriteRect& r)
{
    // Drawn as the compositor draws it: with no area (or a NaN edge) not at
    // all; far outside, clipped to the surface with the part of the texture
    // it keeps, worked out in double.
    Exception e{index, {0, 0, 0, 0}, {0, 0, 0, 0}, false};
    const double left = r.left;
    const double top = r.top;
    const double width = double(r.right) - left;
    const double height = double(r.bottom) - top;
    if (width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height))
    {
        const double x0 = std::max(left, 0.0);
        const double x1 = std::min(double(r.right), double(surfaceWidth));
        const double y0 = std::max(top, 0.0);
        const double y1 = std::min(double(r.bottom), double(surfaceHeight));
        e.drawn = x0 < x1 && y0 < y1;
        e.clipped = {float(x0), float(y0), float(x1), float(y1)};
        e.textureWindow[0] = float((x0 - left) / width);
        e.textureWindow[1] = float((y0 - top) / height);
        e.textureWindow[2] = float((x1 - left) / width);
        e.textureWindow[3] = float((y1 - top) / height);
    }
    exceptions.push_back(e);
}

void GlBackEnd::CopyRects(SpriteRect* to, const SpriteRect* from, std::size_t count)
{
    // Most sprites lie near the surface, with area: those are drawn as they
    // are, and the others are noted on the way, since a GPU rasterises only
    // so far outside its viewport. The copy bypasses the cache, as memory the
    // GPU reads wants: it is written whole and never read here.
    exceptions.clear();
#ifdef __SSE2__
    const float infinity = std::numeric_limits<float>::infinity();
    const __m128 low = _mm_setr_ps(-GuardBand, -GuardBand, -infinity, -infinity);
    const __m128 high =
        _mm_setr_ps(infinity, infinity, surfaceWidth + GuardBand, surfaceHeight + GuardBand);
    const bool aligned = (reinterpret_cast<uintptr_t>(to) & 15) == 0;
    // Whether a rectangle is near, with area: all four bits of the first
    // mask and the two low ones of the second.
    auto ordinary = [&](__m128 r)
    {
        const __m128 opposite = _mm_shuffle_ps(r, r, _MM_SHUFFLE(1, 0, 3, 2));
        const __m128 near = _mm_and_ps(_mm_cmpge_ps(r, low), _mm_cmple_ps(r, high));
        return _mm_movemask_ps(near) == 15 && (_mm_movemask_ps(_mm_cmpgt_ps(opposite, r)) & 3) == 3;
    };
    std::size_t i = 0;
    if (aligned)
    {
        // Four at a time, one test of the four in the common case.
        for (; i + 4 <= count; i += 4)
        {
            const __m128 a = _mm_loadu_ps(&from[i].left);
            const __m128 b = _mm_loadu_ps(&from[i + 1].left);
            const __m128 c = _mm_loadu_ps(&from[i + 2].left);
            const __m128 d = _mm_loadu_ps(&from[i + 3].left);
            _mm_stream_ps(&to[i].left, a);
            _mm_stream_ps(&to[i + 1].left, b);
            _mm_stream_ps(&to[i + 2].left, c);
            _mm_stream_ps(&to[i + 3].left, d);
            const __m128 lower = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(a, low), _mm_cmpge_ps(b, low)),
                                            _mm_and_ps(_mm_cmpge_ps(c, low), _mm_cmpge_ps(d, low)));
            const __m128 upper =
                _mm_and_ps(_mm_and_ps(_mm_cmple_ps(a, high), _mm_cmple_ps(b, high)),
                           _mm_and_ps(_mm_cmple_ps(c, high), _mm_cmple_ps(d, high)));
            // Right > left and bottom > top of each, in the two low lanes.
            const __m128 ab = _mm_movelh_ps(a, b); // a.left, a.top, b.left, b.top
            const __m128 abFar = _mm_movehl_ps(b, a);
            const __m128 cd = _mm_movelh_ps(c, d);
            const __m128 cdFar = _mm_movehl_ps(d, c);
            const __m128 area = _mm_and_ps(_mm_cmpgt_ps(abFar, ab), _mm_cmpgt_ps(cdFar, cd));
            if (_mm_movemask_ps(_mm_and_ps(lower, upper)) != 15 || _mm_movemask_ps(area) != 15)
                for (std::size_t k = i; k < i + 4; ++k)
                    if (!ordinary(_mm_loadu_ps(&from[k].left)))
                        NoteException(k, from[k]);
        }
    }
    for (; i < count; ++i)
    {
        const __m128 r = _mm_loadu_ps(&from[i].left);
        _mm_storeu_ps(&to[i].left, r);
        if (!ordinary(r))
            NoteException(i, from[i]);
    }
    _mm_sfence();
#else
    std::memcpy(to, from, count * sizeof(SpriteRect));
    const float low = -GuardBand;
    const float right = surfaceWidth + GuardBand;
    const float bottom = surfaceHeight + GuardBand;
    for (std::size_t i = 0; i < count; ++i)
    {
        const SpriteRect& r = from[i];
        if (!(r.left >= low && r.top >= low && r.right <= right && r.bottom <= bottom &&
              r.right > r.left && r.bottom > r.top))
            NoteException(i, r);
    }
#endif
    for (const Exception& e : exceptions)
        to[e.index] = e.clipped;
}

bool GlBackEnd::StreamRects(const SpriteRect* rects, std::size_t count)
{
    // The ring's regions hold the largest frame so far; a larger one makes
    // the buffer anew, the GPU keeping the old storage while it reads it.
    const std::size_t bytes = count * sizeof(SpriteRect);
    if (bytes > regionBytes)
    {
        for (GLsync& fence : fences)
        {
            if (fence)
                gl->DeleteSync(fence);
            fence = nullptr;
        }
        regionBytes = (bytes + bytes / 2 + 255) & ~std::size_t(255);
        TakeErrors(gl);
        gl->BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(3 * regionBytes), nullptr,
                       GL_STREAM_DRAW);
        if (TakeErrors(gl) != GL_NO_ERROR)
        {
            regionBytes = 0;
            return false;
        }
    }
    region = (region + 1) % 3;
    WaitForRegion(region);
    // One sequential write of the used range, never read back: the memory
    // may be write-combined, or across the bus.
    auto* mapped = static_cast<SpriteRect*>(
        gl->MapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(region * regionBytes),
                           static_cast<GLsizeiptr>(bytes),
                           GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT |
                               GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_FLUSH_EXPLICIT_BIT));
    if (!mapped)
        return false;
    CopyRects(mapped, rects, count);
    gl->FlushMappedBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes));
    // False: the storage was lost while mapped, and what it holds is undefined.
    return gl->UnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
}

void GlBackEnd::DrawInstances(std::size_t first, std::size_t count)
{
    const std::size_t offset = region * regionBytes + first * sizeof(SpriteRect);
    gl->VertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(SpriteRect),
                            reinterpret_cast<const void*>(offset));
    gl->DrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, static_cast<GLsizei>(count));
}

int GlBackEnd::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                         const TextureRun* runs, std::size_t runCount)
{
    int clientWidth = 0;
    int clientHeight = 0;
    SDL_GL_GetDrawableSize(window, &clientWidth, &clientHeight);
    gl->Viewport(0, 0, clientWidth, clientHeight);
    gl->ClearColor(((clearArgb >> 16) & 0xff) / 255.0f, ((clearArgb >> 8) & 0xff) / 255.0f,
                   (clearArgb & 0xff) / 255.0f, 1.0f);
    gl->Clear(GL_COLOR_BUFFER_BIT);
    if (count == 0)
        return 0;
    if (!StreamRects(rects, count))
        return 0; // the frame is skipped: the clear colour alone

    int calls = 0;
    for (std::size_t i = 0; i < runCount; ++i)
    {
        const TextureRun& run = runs[i];
        const DrawingTexture* copy = run.texture;
        if (!copy || run.end <= run.start)
            continue;
        assert(copy->maker == this && "a texture is drawn by the back end that made it");
        if (copy->maker != this)
            continue;
        gl->BindTexture(GL_TEXTURE_2D, static_cast<const GlTexture*>(copy)->name);
        // The run's sprites in order, each exception drawn on its own between.
        std::size_t next = run.start;
        auto e = std::lower_bound(exceptions.begin(), exceptions.end(), run.start,
                                  [](const Exception& x, std::size_t at) { return x.index < at; });
        for (; e != exceptions.end() && e->index < run.end; ++e)
        {
            if (e->index > next)
            {
                DrawInstances(next, e->index - next);
                ++calls;
            }
            if (e->drawn)
            {
                gl->Uniform4f(textureWindow, e->textureWindow[0], e->textureWindow[1],
                              e->textureWindow[2], e->textureWindow[3]);
                DrawInstances(e->index, 1);
                gl->Uniform4f(textureWindow, 0.0f, 0.0f, 1.0f, 1.0f);
                ++calls;
            }
            next = e->index + 1;
        }
        if (run.end > next)
        {
            DrawInstances(next, run.end - next);
            ++calls;
        }
    }
    fences[region] = gl->FenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    return calls;
}

void GlBackEnd::Present()
{
    SDL_GL_SwapWindow(window);
}

std::string GlBackEnd::Renderer() const
{
    const GLubyte* name = gl->GetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

bool GlBackEnd::Accelerated() const
{
    // Neither EGL nor SDL's loader offers a driver's word on it, so the
    // renderer's name tells, in any case.
    std::string name = Renderer();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* software : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swr",
                                 "lavapipe", "basic render driver"})
        if (name.find(software) != std::string::npos)
            return false;
    return !name.empty();
}

bool GlBackEnd::CountErrors()
{
    using DebugMessageCallback = void(APIENTRY*)(GLDEBUGPROC, const void*);
    if (!SDL_GL_ExtensionSupported("GL_KHR_debug"))
        return false;
    auto callback =
        reinterpret_cast<DebugMessageCallback>(SDL_GL_GetProcAddress("glDebugMessageCallback"));
    if (!callback)
        callback = reinterpret_cast<DebugMessageCallback>(
            SDL_GL_GetProcAddress("glDebugMessageCallbackKHR"));
    if (!callback)
        return false;
    gl->Enable(GL_DEBUG_OUTPUT);
    gl->Enable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    callback(CountError, &errors);
    return true;
}

void GlBackEnd::ReadPixels(int width, int height, uint32_t* argb)
{
    // Rows come bottom first, in RGBA bytes.
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    gl->ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* row = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x)
            argb[static_cast<std::size_t>(y) * width + x] =
                (uint32_t(row[4 * x + 3]) << 24) | (uint32_t(row[4 * x]) << 16) |
                (uint32_t(row[4 * x + 1]) << 8) | row[4 * x + 2];
    }
}
