#include "shell/platform/GlFunctions.h"

#include <SDL.h>

#include <type_traits>

bool GlFunctions::Load()
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
    GetGraphicsResetStatus = nullptr;
    const char* const resetStatus[][2] = {{"GL_KHR_robustness", "glGetGraphicsResetStatus"},
                                          {"GL_KHR_robustness", "glGetGraphicsResetStatusKHR"},
                                          {"GL_ARB_robustness", "glGetGraphicsResetStatusARB"},
                                          {"GL_EXT_robustness", "glGetGraphicsResetStatusEXT"}};
    for (const auto& [extension, name] : resetStatus)
        if (!GetGraphicsResetStatus && SDL_GL_ExtensionSupported(extension))
            GetGraphicsResetStatus =
                reinterpret_cast<GLenum(APIENTRY*)()>(SDL_GL_GetProcAddress(name));
    return complete;
}

GLenum TakeGlErrors(GlFunctions* gl)
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
