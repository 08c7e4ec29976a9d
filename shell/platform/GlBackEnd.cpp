#include "shell/platform/GlBackEnd.h"

#include "content/Texture.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstddef>
#include <cstring>

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
        return complete;
    }
};

namespace
{
// The four corners of the unit quad come from the vertex's number; the
// instance's rectangle (left, top, right, bottom, in drawing-surface pixels)
// places it, and the texture covers it whole.
const char* const VertexShader = R"(
layout(location = 0) in vec4 rectangle;
uniform vec2 toClip;
out vec2 textureCoordinate;
void main()
{
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    textureCoordinate = corner;
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

class GlTexture : public DrawingTexture
{
public:
    GlTexture(GlBackEnd::Functions* gl, GLuint name) : gl(gl), name(name) {}
    ~GlTexture() override { gl->DeleteTextures(1, &name); }

    GlBackEnd::Functions* const gl;
    const GLuint name;
};
} // namespace

GlBackEnd* GlBackEnd::Create(SDL_Window* window, int surfaceWidth, int surfaceHeight,
                             bool waitForRetrace)
{
    GlBackEnd* backEnd = new GlBackEnd();
    backEnd->window = window;
    backEnd->surfaceWidth = static_cast<float>(surfaceWidth);
    backEnd->surfaceHeight = static_cast<float>(surfaceHeight);
    // OpenGL 3.3 core where there is one, else OpenGL ES 3.0.
    for (bool embedded : {false, true})
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                            embedded ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, embedded ? 0 : 3);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        backEnd->context = SDL_GL_CreateContext(window);
        if (backEnd->context && backEnd->Start(embedded))
        {
            SDL_GL_SetSwapInterval(waitForRetrace ? 1 : 0);
            return backEnd;
        }
        if (backEnd->context)
            SDL_GL_DeleteContext(backEnd->context);
        backEnd->context = nullptr;
    }
    delete backEnd;
    return nullptr;
}

bool GlBackEnd::Start(bool embedded)
{
    delete gl;
    gl = new Functions();
    if (!gl->Load())
        return false;
    const std::string header =
        embedded ? "#version 300 es\nprecision mediump float;\n" : "#version 330 core\n";
    GLuint shaders[2] = {};
    const GLenum kinds[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    const char* const sources[2] = {VertexShader, FragmentShader};
    program = gl->CreateProgram();
    for (int i = 0; i < 2; ++i)
    {
        shaders[i] = gl->CreateShader(kinds[i]);
        const char* parts[2] = {header.c_str(), sources[i]};
        gl->ShaderSource(shaders[i], 2, parts, nullptr);
        gl->CompileShader(shaders[i]);
        gl->AttachShader(program, shaders[i]);
    }
    gl->LinkProgram(program);
    for (GLuint shader : shaders)
        gl->DeleteShader(shader);
    GLint linked = GL_FALSE;
    gl->GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        return false;
    gl->UseProgram(program);
    toClip = gl->GetUniformLocation(program, "toClip");
    gl->Uniform2f(toClip, 2.0f / surfaceWidth, -2.0f / surfaceHeight);

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
    return true;
}

GlBackEnd::~GlBackEnd()
{
    if (context)
    {
        SDL_GL_MakeCurrent(window, context);
        if (mappedRects)
            gl->UnmapBuffer(GL_ARRAY_BUFFER);
        for (GLsync fence : fences)
            if (fence)
                gl->DeleteSync(fence);
        gl->DeleteBuffers(1, &instances);
        gl->DeleteVertexArrays(1, &vertexArray);
        gl->DeleteProgram(program);
        SDL_GL_DeleteContext(context);
    }
    delete gl;
}

DrawingTexture* GlBackEnd::CreateTexture(const DecodedImage& image)
{
    // Premultiplied RGBA bytes, rounded as the compositor rounds them.
    std::vector<uint8_t> rgba(image.pixels.size() * 4);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
    {
        const uint32_t c = image.pixels[i];
        const uint32_t a = c >> 24;
        rgba[4 * i] = static_cast<uint8_t>((((c >> 16) & 0xff) * a + 127) / 255);
        rgba[4 * i + 1] = static_cast<uint8_t>((((c >> 8) & 0xff) * a + 127) / 255);
        rgba[4 * i + 2] = static_cast<uint8_t>(((c & 0xff) * a + 127) / 255);
        rgba[4 * i + 3] = static_cast<uint8_t>(a);
    }
    GLuint name = 0;
    gl->GenTextures(1, &name);
    gl->BindTexture(GL_TEXTURE_2D, name);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                   GL_UNSIGNED_BYTE, rgba.data());
    return new GlTexture(gl, name);
}

SpriteRect* GlBackEnd::MapNextRegion(std::size_t bytes)
{
    // The GPU may still read the regions of the frames before: a region is
    // written once its fence says the GPU is done with it.
    region = (region + 1) % 3;
    if (fences[region])
    {
        gl->ClientWaitSync(fences[region], GL_SYNC_FLUSH_COMMANDS_BIT, GLuint64(1000000000));
        gl->DeleteSync(fences[region]);
        fences[region] = nullptr;
    }
    return static_cast<SpriteRect*>(gl->MapBufferRange(
        GL_ARRAY_BUFFER, static_cast<GLintptr>(region * regionBytes),
        static_cast<GLsizeiptr>(bytes),
        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT));
}

SpriteRect* GlBackEnd::FrameRects(std::size_t* capacity)
{
    // The batch writes the frame's rectangles straight into a region of the
    // ring, as large as the largest frame so far; nothing is copied then.
    *capacity = 0;
    if (mappedRects) // a frame begun and never drawn
    {
        gl->UnmapBuffer(GL_ARRAY_BUFFER);
        mappedRects = nullptr;
    }
    if (regionBytes == 0)
        return nullptr;
    mappedRects = MapNextRegion(regionBytes);
    if (mappedRects)
        *capacity = regionBytes / sizeof(SpriteRect);
    return mappedRects;
}

int GlBackEnd::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                         const TextureRun* runs, std::size_t runCount)
{
    const bool inPlace = mappedRects && rects == mappedRects;
    if (mappedRects)
    {
        gl->UnmapBuffer(GL_ARRAY_BUFFER);
        mappedRects = nullptr;
    }
    int clientWidth = 0;
    int clientHeight = 0;
    SDL_GL_GetDrawableSize(window, &clientWidth, &clientHeight);
    gl->Viewport(0, 0, clientWidth, clientHeight);
    gl->ClearColor(((clearArgb >> 16) & 0xff) / 255.0f, ((clearArgb >> 8) & 0xff) / 255.0f,
                   (clearArgb & 0xff) / 255.0f, 1.0f);
    gl->Clear(GL_COLOR_BUFFER_BIT);
    if (count == 0)
        return 0;

    if (!inPlace)
    {
        // Rectangles in other memory (the first frame, or one larger than
        // the ring's regions) are copied into the next region; the buffer
        // is made anew, larger, when they do not fit.
        const std::size_t bytes = count * sizeof(SpriteRect);
        if (bytes > regionBytes)
        {
            for (GLsync& fence : fences)
            {
                if (fence)
                    gl->DeleteSync(fence);
                fence = nullptr;
            }
            regionBytes = bytes + bytes / 2;
            gl->BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(3 * regionBytes), nullptr,
                           GL_STREAM_DRAW);
        }
        SpriteRect* mapped = MapNextRegion(bytes);
        if (!mapped)
            return 0;
        std::memcpy(mapped, rects, bytes);
        gl->UnmapBuffer(GL_ARRAY_BUFFER);
    }

    const std::size_t base = region * regionBytes;
    int calls = 0;
    for (std::size_t i = 0; i < runCount; ++i)
    {
        // Every texture drawn here was made by this back end.
        const TextureRun& run = runs[i];
        const Texture* texture = run.texture;
        if (texture && texture->deviceTexture && run.end > run.start)
        {
            gl->BindTexture(GL_TEXTURE_2D,
                            static_cast<const GlTexture*>(texture->deviceTexture)->name);
            gl->VertexAttribPointer(
                0, 4, GL_FLOAT, GL_FALSE, sizeof(SpriteRect),
                reinterpret_cast<const void*>(base + run.start * sizeof(SpriteRect)));
            gl->DrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4,
                                    static_cast<GLsizei>(run.end - run.start));
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
