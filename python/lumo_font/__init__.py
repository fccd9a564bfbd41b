"""lumo_font: mixed-script text for pygame, shaped with HarfBuzz and drawn with FreeType.

The engine is native; importing this package builds its settings, tables and
functions into this module and then guards the module's attributes.
"""
from lumo_font._native import _start_engine

_start_engine(__name__)
del _start_engine
