import quorvel_canvas


def test_version():
    assert quorvel_canvas.version() == "0.1.9"
