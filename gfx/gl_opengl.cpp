// The OpenGL 1.1 fixed-pipeline backend.
#include "gfx/gl_backend.h"

#include <GL/gl.h>
#include <cstring>

namespace kel {
namespace {

class OpenGlBackend : public GlBackend {
public:
    void SetupState(int screenWidth, int screenHeight) override {
        glViewport(0, 0, screenWidth, screenHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, screenWidth, screenHeight, 0.0, -1.0, 1.0);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDisable(GL_FOG);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        software = renderer != nullptr && (std::strstr(renderer, "llvmpipe") != nullptr ||
                                           std::strstr(renderer, "softpipe") != nullptr ||
                                           std::strstr(renderer, "Software") != nullptr);
    }

    bool IsSoftware() const override { return software; }

    uint32_t CreateTexture(int width, int height, const uint8_t* rgba) override {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return name;
    }

    void DeleteTexture(uint32_t name) override {
        const GLuint n = name;
        glDeleteTextures(1, &n);
    }

    void BindTexture(uint32_t name) override { glBindTexture(GL_TEXTURE_2D, name); }

    void BeginArrays(const Vertex* vertices) override {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].u);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &vertices[0].colour);
    }

    void DrawTriangles(int first, int count) override { glDrawArrays(GL_TRIANGLES, first, count); }

    void SetColour(float r, float g, float b, float a) override { glColor4f(r, g, b, a); }

    void SetBlending(bool on) override {
        if (on)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
    }

    void Clear(float r, float g, float b, float a) override {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void PushMatrix() override { glPushMatrix(); }
    void PopMatrix() override { glPopMatrix(); }
    void Translate(float x, float y) override { glTranslatef(x, y, 0.0f); }
    void Scale(float sx, float sy) override { glScalef(sx, sy, 1.0f); }
    void Rotate(float degrees) override { glRotatef(degrees, 0.0f, 0.0f, 1.0f); }

    bool ReadPixels(int width, int height, uint8_t* rgba) override {
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return glGetError() == GL_NO_ERROR;
    }

private:
    bool software = false;
};

} // namespace

GlBackend* CreateOpenGlBackend() { return new OpenGlBackend; }

} // namespace kel
