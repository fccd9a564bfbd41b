"""lumo_font: mixed-script text for pygame, shaped with HarfBuzz and drawn with FreeType.

The engine is native; importing this package builds its settings, tables and
functions into this module and then guards the module's attributes.
"""
try:
    from lumo_font._native import _start_engine
    _start_engine(__name__)
except ImportError as error:
    # Started as the lumo-font command, a missing library (pygame above all)
    # is that command's one-line error rather than a traceback.
    from lumo_font._cli_startup import exit_if_started_as_command
    exit_if_started_as_command(error)
    raise
del _start_engine
