#include <GL/gl.h>

#include "assets/model.h"

// Each mesh is one draw call straight from its arrays: positions and normals that the effects
// rewrite show in the very next draw, with nothing copied or cached on the OpenGL side.
void Model::Draw() {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int i = 0; i < meshCount; ++i) {
        const Mesh* mesh = meshes[i];
        glVertexPointer(3, GL_FLOAT, 0, mesh->positions);
        glNormalPointer(GL_FLOAT, 0, mesh->normals);
        glTexCoordPointer(2, GL_FLOAT, 0, mesh->texCoords);
        glDrawElements(GL_TRIANGLES, 3 * mesh->triangleCount, GL_UNSIGNED_INT, mesh->indices);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void SphereMapOn() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

// The generation mode stays at sphere map; only the two enables change.
void SphereMapOff() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}
